#include "plot/iPlotDataView.h"

#include "platform/Canvas.h"

TiPlotDataView::TiPlotDataView(TiPlotHost* Host) : TiPlotLayoutObject(Host), FGridAxes(Host) {}

void TiPlotDataView::PaintBackground(TCanvas& Canvas) {
    if (FBackgroundTransparent)
        return;
    const TRect& R = LayoutRect();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FBackgroundColor);
    Canvas.FillRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
}

void TiPlotDataView::ObjectNameChanged(TiPlotObject* Object) {
    FGridAxes.ObjectNameChanged(Object);
}
