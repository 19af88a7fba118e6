// The painting order of the plot.

#include "plot/iPlotComponent.h"

#include "components/iGPFunctions.h"
#include "platform/Canvas.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"

void TiPlotComponent::Layout(TCanvas& Canvas) {
    TiPlotLayoutFrame Frame;
    Frame.Width = Width();
    Frame.Height = Height();
    Frame.Border = BorderStyle() != ibsNone ? 2 : 0;
    Frame.MarginLeft = FOuterMarginLeft;
    Frame.MarginTop = FOuterMarginTop;
    Frame.MarginRight = FOuterMarginRight;
    Frame.MarginBottom = FOuterMarginBottom;
    const TRect DataViewRect = FMaster->LayoutManager().Layout(Canvas, Frame);
    if (DataViewCount() > 0)
        DataView(0)->SetLayoutRect(DataViewRect);
}

void TiPlotComponent::iPaintTo(TCanvas& Canvas) {
    // Without a toolbar, a legend or a data view the plot stays blank.
    if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0)
        return;
    // Twice: the second pass sees the sizes the first one settled.
    Layout(Canvas);
    Layout(Canvas);
    if (FBackGroundGradientEnabled)
        iGradientFill(Canvas, Rect(0, 0, Width(), Height()), FBackGroundGradientDirection,
                      FBackGroundGradientStartColor, FBackGroundGradientStopColor);
    else
        iPaintBackGround(Canvas, BackGroundColor());
    DrawFrameLayer(Canvas);
    for (int I = 0; I < LegendCount(); ++I)
        Legend(I)->Draw(Canvas, BackGroundColor());
}

// What lies around the data view, over the background and the traces.
void TiPlotComponent::DrawFrameLayer(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(BackGroundColor());
    iPaintBorder(Canvas);
    for (int I = 0; I < LabelCount(); ++I)
        Label(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < ToolBarCount(); ++I)
        ToolBar(I)->Draw(Canvas, BackGroundColor());
}
