#include "plot/iPlotLimit.h"

#include "components/iGPFunctions.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotToolBar.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <array>

TiPlotLimit::TiPlotLimit(TiPlotHost* Host) : TiPlotObject(Host), FAxes(Host) {}

void TiPlotLimit::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}

void TiPlotLimit::ObjectFocused(TiPlotObject* Object) {
    if (Object != this)
        SetFocused(false);
}

bool TiPlotLimit::DrawnBehindGrid() const {
    switch (FStyle) {
    case iplsPolyBandX:
    case iplsPolyBandY:
        return true;
    case iplsBandX:
    case iplsBandY:
        return FFillStyle != bsClear;
    default:
        return false;
    }
}

bool TiPlotLimit::XKind() const {
    return FStyle == iplsLineX || FStyle == iplsBandX || FStyle == iplsPolyBandX;
}

void TiPlotLimit::SetLinePosition(int Line, double Value) {
    const double Old = FLinePositions[Line];
    if (Old == Value)
        return;
    FLinePositions[Line] = Value;
    DoChange();
    if (FOnPositionChange)
        FOnPositionChange(Line + 1, Old, Value);
}

void TiPlotLimit::AddPolyBandPoint(double Position, double Low, double High) {
    FPolyBand.Add(Position, Low, High);
    DoChange();
}

void TiPlotLimit::ClearPolyBand() {
    FPolyBand.Clear();
    DoChange();
}

// ---- Drawing

TiPlotLimit::TFrame TiPlotLimit::Frame(TiPlotAxis* Along, TiPlotAxis* Across) const {
    // Positions on the X axis run across the screen unless X and Y swap.
    const bool AlongIsX = Along->Kind() == TiPlotKind::XAxis;
    return {Along, Across, Across->ValueToPixel(Across->Min()),
            Across->ValueToPixel(Across->Min() + Across->Span()), AlongIsX == XYSwap()};
}

void TiPlotLimit::SetPen(TCanvas& Canvas, TPenStyle Style, int Width) const {
    Canvas.Pen().SetColor(FColor);
    Canvas.Pen().SetStyle(Style);
    Canvas.Pen().SetWidth(Width);
}

// A line's grab rectangle: 5 pixels either side, across the whole view.
void TiPlotLimit::SetGrab(const TFrame& F, int Line, int Position) {
    const TPoint A = F.At(Position - 5, F.AcrossMin), B = F.At(Position + 5, F.AcrossMax);
    FLines[Line].Grab = NormalizedRect(A.X, A.Y, B.X, B.Y);
    FLines[Line].Drawn = true;
}

void TiPlotLimit::DrawLine(TCanvas& Canvas, const TFrame& F, int Line, int Position) {
    const TPoint A = F.At(Position, F.AcrossMin), B = F.At(Position, F.AcrossMax);
    Canvas.MoveTo(A.X, A.Y);
    Canvas.LineTo(B.X, B.Y);
    SetGrab(F, Line, Position);
}

void TiPlotLimit::Draw(TCanvas& Canvas, TColor) {
    for (TLine& L : FLines)
        L.Drawn = false;
    TiPlotAxis* X = XAxis();
    TiPlotAxis* Y = YAxis();
    if (!Visible() || !X || !Y)
        return;
    switch (FStyle) {
    case iplsLineX:
    case iplsLineY: {
        const TFrame F = XKind() ? Frame(X, Y) : Frame(Y, X);
        const double P = FLinePositions[0];
        if (!(P >= F.Along->Min() && P <= F.Along->Min() + F.Along->Span()))
            return;
        SetPen(Canvas, FLineStyle, FLineWidth);
        DrawLine(Canvas, F, 0, F.Along->ValueToPixel(P));
        return;
    }
    case iplsBandX:
    case iplsBandY:
        DrawBand(Canvas, XKind() ? Frame(X, Y) : Frame(Y, X));
        return;
    case iplsPolyBandX:
    case iplsPolyBandY:
        // Positions along the other axis, bounds on the one named.
        DrawPolyBand(Canvas, XKind() ? Frame(Y, X) : Frame(X, Y));
        return;
    }
}

void TiPlotLimit::DrawBand(TCanvas& Canvas, const TFrame& F) {
    const int P1 = F.Along->ValueToPixel(FLinePositions[0]);
    const int P2 = F.Along->ValueToPixel(FLinePositions[1]);
    Canvas.Brush().SetColor(FColor);
    Canvas.Brush().SetStyle(FFillStyle);
    const TPoint A = F.At(P1, F.AcrossMin), B = F.At(P2, F.AcrossMax);
    const TRect Band = NormalizedRect(A.X, A.Y, B.X, B.Y);
    if (FFillStyle == bsSolid) {
        SetPen(Canvas, FLineStyle, 1);
        Canvas.Rectangle(Band);
    } else if (FFillStyle != bsClear) {
        SetPen(Canvas, psClear, 1);
        Canvas.Rectangle(Band);
    }
    // A solid band's outline is its two lines.
    if (FFillStyle == bsSolid) {
        SetGrab(F, 0, P1);
        SetGrab(F, 1, P2);
        return;
    }
    SetPen(Canvas, FLineStyle, FFillStyle == bsClear ? FLineWidth : 1);
    DrawLine(Canvas, F, 0, P1);
    DrawLine(Canvas, F, 1, P2);
}

void TiPlotLimit::DrawPolyBand(TCanvas& Canvas, const TFrame& F) {
    if (FPolyBand.Count() < 2)
        return;
    SetPen(Canvas, psSolid, 1);
    Canvas.Brush().SetColor(FColor);
    Canvas.Brush().SetStyle(FFillStyle);
    const double Min = F.Along->Min(), Max = F.Along->Min() + F.Along->Span();
    for (int I = 0; I + 1 < FPolyBand.Count(); ++I) {
        const double Pa = FPolyBand.Position(I), Pb = FPolyBand.Position(I + 1);
        if (Pa < Min && Pb < Min)
            continue;
        if (Pa > Max)
            break;
        const int A = F.Along->ValueToPixel(Pa), B = F.Along->ValueToPixel(Pb);
        const TPoint La = F.At(A, F.Across->ValueToPixel(FPolyBand.Low(I)));
        const TPoint Lb = F.At(B, F.Across->ValueToPixel(FPolyBand.Low(I + 1)));
        const TPoint Hb = F.At(B, F.Across->ValueToPixel(FPolyBand.High(I + 1)));
        const TPoint Ha = F.At(A, F.Across->ValueToPixel(FPolyBand.High(I)));
        const std::array<TPoint, 4> Quad{La, Lb, Hb, Ha};
        if (FFillStyle == bsSolid) {
            Canvas.Polygon(Quad);
            continue;
        }
        SetPen(Canvas, psClear, 1);
        Canvas.Polygon(Quad);
        SetPen(Canvas, psSolid, 1);
        Canvas.MoveTo(La.X, La.Y);
        Canvas.LineTo(Lb.X, Lb.Y);
        Canvas.MoveTo(Ha.X, Ha.Y);
        Canvas.LineTo(Hb.X, Hb.Y);
    }
}

// ---- The mouse

bool TiPlotLimit::HitTest(TPoint P) {
    return TiPlotObject::HitTest(P) || (FLines[0].Drawn && FLines[0].Grab.Contains(P)) ||
           (FLines[1].Drawn && FLines[1].Grab.Contains(P));
}

int TiPlotLimit::GetMouseCursor() {
    if (!FUserCanMove || !PlotSelectionMode(*Host()))
        return 0;
    if (!(FLines[0].Drawn && FLines[1].Drawn))
        return crHandPoint;
    return XKind() != XYSwap() ? crSizeWE : crSizeNS;
}

void TiPlotLimit::MouseDown(TPoint P) {
    if (!FUserCanMove || !PlotSelectionMode(*Host()))
        return;
    for (int Line = 0; Line < 2; ++Line)
        if (FLines[Line].Drawn && FLines[Line].Grab.Contains(P)) {
            FLines[Line].Dragging = true;
            FMouseDownPoint = P;
            FPositionAtPress = FLinePositions[Line];
            return;
        }
}

void TiPlotLimit::MouseMove(TPoint P) {
    TiPlotAxis* Axis = XKind() ? XAxis() : YAxis();
    if (!Axis)
        return;
    // The mouse's coordinate along the axis the lines mark.
    const bool Horizontal = XKind() != XYSwap();
    const int From = Horizontal ? FMouseDownPoint.X : FMouseDownPoint.Y;
    const int To = Horizontal ? P.X : P.Y;
    for (int Line = 0; Line < 2; ++Line)
        if (FLines[Line].Dragging)
            SetLinePosition(Line,
                            FPositionAtPress - (Axis->PixelToValue(From) - Axis->PixelToValue(To)));
}

void TiPlotLimit::MouseUp(TPoint P) {
    for (TLine& L : FLines)
        L.Dragging = false;
    if (Pressed() && HitTest(P))
        Host()->ObjectClicked(this);
}
