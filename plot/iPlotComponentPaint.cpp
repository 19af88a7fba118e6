// The painting order of the plot.

#include "plot/iPlotComponent.h"

#include "components/iGPFunctions.h"

void TiPlotComponent::iPaintTo(TCanvas& Canvas) {
    // Without a toolbar, a legend or a data view the plot stays blank.
    if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0)
        return;
    if (FBackGroundGradientEnabled)
        iGradientFill(Canvas, Rect(0, 0, Width(), Height()), FBackGroundGradientDirection,
                      FBackGroundGradientStartColor, FBackGroundGradientStopColor);
    else
        iPaintBackGround(Canvas, BackGroundColor());
}
