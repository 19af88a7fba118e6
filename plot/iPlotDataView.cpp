#include "plot/iPlotDataView.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Canvas.h"
#include "plot/iPlotToolBar.h"

#include <cmath>
#include <cstdlib>

namespace {

TPenStyle PenStyle(TiPlotGridLineStyle Style) {
    switch (Style) {
    case ipglsDash:
        return psDash;
    case ipglsDot:
        return psDot;
    case ipglsSolid:
        break;
    }
    return psSolid;
}

} // namespace

TiPlotDataView::TiPlotDataView(TiPlotHost* Host) : TiPlotLayoutObject(Host), FGridAxes(Host) {}

TiPlotViewMode TiPlotDataView::ViewMode() {
    const std::vector<TiPlotObject*> ToolBars = Host()->Objects(TiPlotKind::ToolBar);
    if (!ToolBars.empty()) {
        const auto* ToolBar = static_cast<const TiPlotToolBar*>(ToolBars.front());
        if (ToolBar->SelectDown())
            return TiPlotViewMode::Select;
        if (ToolBar->ZoomBoxDown())
            return TiPlotViewMode::ZoomBox;
    }
    return FAxesControlEnabled ? TiPlotViewMode::AxesControl : TiPlotViewMode::None;
}

void TiPlotDataView::PaintBackground(TCanvas& Canvas) {
    if (FBackgroundTransparent)
        return;
    const TRect& R = LayoutRect();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FBackgroundColor);
    Canvas.FillRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
}

TiPlotGridLines TiPlotDataView::GridLines(const TiPlotCustomGridLines& Custom,
                                          TiPlotGridLineStyle Common, bool Show) const {
    if (Custom.Custom)
        return {Show, Custom.Color, Custom.Width, PenStyle(Custom.Style)};
    return {Show, FGridLineColor, 0, PenStyle(Common)};
}

template <typename TAction> void TiPlotDataView::ForEachAxis(bool X, bool Y, TAction Action) {
    if (X)
        for (TiPlotObject* Axis : Host()->Objects(TiPlotKind::XAxis))
            Action(*static_cast<TiPlotAxis*>(Axis));
    if (Y)
        for (TiPlotObject* Axis : Host()->Objects(TiPlotKind::YAxis))
            Action(*static_cast<TiPlotAxis*>(Axis));
}

void TiPlotDataView::DrawAxesGrid(TCanvas& Canvas, TiPlotKind Kind, const TiPlotGridLines& Majors,
                                  const TiPlotGridLines& Minors) {
    const bool X = Kind == TiPlotKind::XAxis;
    if (SameName(X ? GridXAxisName() : GridYAxisName(), "<ALL>")) {
        ForEachAxis(X, !X,
                    [&](TiPlotAxis& A) { A.DrawGrid(Canvas, LayoutRect(), Majors, Minors); });
    } else if (TiPlotAxis* Axis = X ? GridXAxis() : GridYAxis()) {
        Axis->DrawGrid(Canvas, LayoutRect(), Majors, Minors);
    }
}

void TiPlotDataView::DrawFrame(TCanvas& Canvas) {
    const TRect& R = LayoutRect();
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(0);
    Canvas.Pen().SetColor(FGridLineColor);
    auto Line = [&](bool Show, int X0, int Y0, int X1, int Y1) {
        if (!Show)
            return;
        Canvas.MoveTo(X0, Y0);
        Canvas.LineTo(X1, Y1);
    };
    Line(FShowLeft, R.Left, R.Top, R.Left, R.Bottom);
    Line(FShowRight, R.Right, R.Top, R.Right, R.Bottom);
    Line(FShowTop, R.Left, R.Top, R.Right, R.Top);
    Line(FShowBottom, R.Left, R.Bottom, R.Right + 1, R.Bottom);
}

void TiPlotDataView::Draw(TCanvas& Canvas, TColor BackGroundColor) {
    const TRect& R = LayoutRect();
    if (FGridShow) {
        Canvas.Brush().SetColor(BackGroundColor);
        DrawAxesGrid(Canvas, TiPlotKind::XAxis, GridLines(FXMajor, FMajorStyle, FShowXMajors),
                     GridLines(FXMinor, FMinorStyle, FShowXMinors));
        DrawAxesGrid(Canvas, TiPlotKind::YAxis, GridLines(FYMajor, FMajorStyle, FShowYMajors),
                     GridLines(FYMinor, FMinorStyle, FShowYMinors));
        DrawFrame(Canvas);
    }
    if (Focused()) {
        Canvas.Pen().SetColor(BackGroundColor);
        Canvas.Brush().SetStyle(bsClear);
        iDrawFocusRect(Canvas, Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
    }
    if (ZoomBoxShowing())
        iDrawFocusRect(Canvas, ZoomBox());
}

int TiPlotDataView::PercentToPixelX(double Percent) const {
    const TRect& R = LayoutRect();
    return int(Round((R.Right - R.Left) * Percent / 100 + R.Left));
}

int TiPlotDataView::PercentToPixelY(double Percent) const {
    const TRect& R = LayoutRect();
    return int(Round((R.Bottom - R.Top) * (100 - Percent) / 100 + R.Top));
}

double TiPlotDataView::PixelToPercentX(int X) const {
    const TRect& R = LayoutRect();
    return double(X - R.Left) / (R.Right - R.Left) * 100;
}

double TiPlotDataView::PixelToPercentY(int Y) const {
    const TRect& R = LayoutRect();
    return (1 - double(Y - R.Top) / (R.Bottom - R.Top)) * 100;
}

void TiPlotDataView::MouseDown(TPoint P) {
    FAxesDecided = false;
    FViewPressed = true;
    switch (ViewMode()) {
    case TiPlotViewMode::ZoomBox:
        FZoomStart = FZoomEnd = P;
        DoChange();
        break;
    case TiPlotViewMode::AxesControl:
        FZoomStart = P;
        ForEachAxis(true, true, [&](TiPlotAxis& A) { A.MouseDown(P); });
        break;
    default:
        break;
    }
}

void TiPlotDataView::MouseMove(TPoint P) {
    if (!FViewPressed)
        return;
    const TiPlotViewMode Mode = ViewMode();
    if (Mode == TiPlotViewMode::ZoomBox) {
        FZoomEnd = P;
        DoChange();
        return;
    }
    if (Mode != TiPlotViewMode::AxesControl)
        return;
    const bool Shift = ShiftState().Contains(ssShift);
    switch (FAxesControlMouseStyle) {
    case ipacsXAxis:
    case ipacsYAxis:
        FAxesDecided = true;
        FAxesToX = (FAxesControlMouseStyle == ipacsXAxis) != Shift;
        break;
    case ipacsBoth:
        // With Shift the first direction that moves more than 3 pixels
        // wins; the vertical one when both do.
        if (!FAxesDecided && Shift) {
            if (std::abs(P.X - FZoomStart.X) > 3)
                FAxesDecided = FAxesToX = true;
            if (std::abs(P.Y - FZoomStart.Y) > 3) {
                FAxesDecided = true;
                FAxesToX = false;
            }
        }
        break;
    }
    ForEachAxis(!FAxesDecided || FAxesToX, !FAxesDecided || !FAxesToX,
                [&](TiPlotAxis& A) { A.MouseMove(P); });
}

void TiPlotDataView::MouseUp(TPoint P) {
    if (!FViewPressed)
        return;
    switch (ViewMode()) {
    case TiPlotViewMode::ZoomBox:
        // Only a box drawn towards the lower right zooms.
        if (FZoomStart.X < FZoomEnd.X && FZoomStart.Y < FZoomEnd.Y)
            ApplyZoomBox(ZoomBox());
        break;
    case TiPlotViewMode::AxesControl:
        ForEachAxis(true, true, [&](TiPlotAxis& A) { A.MouseUp(P); });
        break;
    default:
        break;
    }
    if (LayoutRect().Contains(P))
        Host()->ObjectClicked(this);
    FViewPressed = false;
    DoChange();
}

void TiPlotDataView::ApplyZoomBox(TRect R) {
    bool Cancel = false;
    if (FOnBeforeZoomBox)
        FOnBeforeZoomBox(R, Cancel);
    if (Cancel)
        return;
    ForEachAxis(true, true, [&](TiPlotAxis& A) { A.ZoomToRect(R); });
}

bool TiPlotDataView::MouseWheel(int WheelDelta, TShiftState Shift, TPoint Point) {
    if (ViewMode() != TiPlotViewMode::AxesControl)
        return false;
    const bool Shifted = Shift.Contains(ssShift);
    const bool X =
        FAxesControlWheelStyle == ipacsBoth || (FAxesControlWheelStyle == ipacsXAxis) != Shifted;
    const bool Y =
        FAxesControlWheelStyle == ipacsBoth || (FAxesControlWheelStyle == ipacsYAxis) != Shifted;
    ForEachAxis(X, Y, [&](TiPlotAxis& A) { A.MouseWheel(WheelDelta, Shift, Point); });
    return true;
}

int TiPlotDataView::GetMouseCursor() {
    switch (ViewMode()) {
    case TiPlotViewMode::ZoomBox:
        return crDrag;
    case TiPlotViewMode::AxesControl:
        return crHandPoint;
    default:
        return crDefault;
    }
}

void TiPlotDataView::ObjectNameChanged(TiPlotObject* Object) {
    FGridAxes.ObjectNameChanged(Object);
}

void TiPlotDataView::ObjectFocused(TiPlotObject* Object) {
    if (Object != this)
        SetFocused(false);
}
