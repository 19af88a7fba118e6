#include "plot/iPlotToolBar.h"

#include "components/iGPFunctions.h"
#include "platform/Canvas.h"

TiPlotToolBar::TiPlotToolBar(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(true);
}

void TiPlotToolBar::SetZoomInOutFactor(double Value) {
    Change(FZoomInOutFactor, Value >= 1 ? Value : 1.0);
}

int TiPlotToolBar::Thickness(TCanvas&) {
    return FSmallButtons ? 28 : 36;
}

void TiPlotToolBar::Draw(TCanvas& Canvas, TColor) {
    if (!Visible())
        return;
    const TRect& R = LayoutRect();
    // One pixel larger at the far edge, so that the face meets the data view.
    const TRect Face = Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(Face);
    if (!FFlatBorder)
        iDrawEdge(Canvas, Face, 1);
}
