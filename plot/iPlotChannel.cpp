#include "plot/iPlotChannel.h"

#include "plot/iPlotAxis.h"

#include <algorithm>

TiPlotChannel::TiPlotChannel(TiPlotHost* Host) : TiPlotChannelCustom(Host) {
    TiPlotDrawAttributes& A = InitialAttributes();
    A.BarWidth = 5;
    A.BarReference = 0;
    A.BarPenColor = clRed;
    A.BarPenWidth = 0;
    A.BarBrushColor = clRed;
}

int TiPlotChannel::FindX(double V) const {
    int Lo = 0, Hi = Count() - 1, Mid = -1;
    while (Lo <= Hi) {
        Mid = (Lo + Hi) / 2;
        const double X = GetX(Mid);
        if (X == V)
            break;
        if ((V < X) == FXIncreasing)
            Hi = Mid - 1;
        else
            Lo = Mid + 1;
    }
    return Mid;
}

int TiPlotChannel::CalcVisibleStart() {
    TiPlotAxis* Axis = XAxis();
    if (!Axis || Count() == 0)
        return -1;
    const double From = FXIncreasing ? Axis->Min() : Axis->Max();
    int I = FindX(From);
    if (FXIncreasing ? GetX(I) > From : GetX(I) < From)
        --I;
    return std::clamp(I, 0, Count() - 1);
}

int TiPlotChannel::CalcVisibleStop() {
    TiPlotAxis* Axis = XAxis();
    if (!Axis || Count() == 0)
        return -1;
    const double To = FXIncreasing ? Axis->Max() : Axis->Min();
    int I = FindX(To);
    if (FXIncreasing ? GetX(I) < To : GetX(I) > To)
        ++I;
    return std::clamp(I, 0, Count() - 1);
}

int TiPlotChannel::GoodPoint(bool Newest) const {
    for (int K = 0; K < Count(); ++K) {
        const int I = Newest ? Count() - 1 - K : K;
        if (!GetNull(I) && !GetEmpty(I))
            return I;
    }
    return -1;
}

double TiPlotChannel::GetXMaxExtent() {
    const int I = CanMeasureExtents() ? GoodPoint(true) : -1;
    return I < 0 ? -1e300 : MarkerXHigh(I);
}

double TiPlotChannel::GetXMinExtent() {
    const int I = CanMeasureExtents() ? GoodPoint(false) : -1;
    return I < 0 ? 1e300 : MarkerXLow(I);
}

TiPlotChannelCustom::TExtent TiPlotChannel::VisibleYExtent() {
    if (!CanMeasureExtents())
        return {};
    const int Start = CalcVisibleStart(), Stop = CalcVisibleStop();
    if (Start < 0 || Stop < 0)
        return {};
    return MarkerExtent(Start, Stop, false);
}

double TiPlotChannel::GetYMaxExtent() {
    return VisibleYExtent().High;
}

double TiPlotChannel::GetYMinExtent() {
    return VisibleYExtent().Low;
}

double TiXYPlotChannel::GetXMaxExtent() {
    return CanMeasureExtents() ? MarkerExtent(0, Count() - 1, true).High : -1e300;
}

double TiXYPlotChannel::GetXMinExtent() {
    return CanMeasureExtents() ? MarkerExtent(0, Count() - 1, true).Low : 1e300;
}

double TiXYPlotChannel::GetYMaxExtent() {
    return CanMeasureExtents() ? MarkerExtent(0, Count() - 1, false).High : -1e300;
}

double TiXYPlotChannel::GetYMinExtent() {
    return CanMeasureExtents() ? MarkerExtent(0, Count() - 1, false).Low : 1e300;
}

// ---- Files, logging and the mouse

int TiPlotChannel::IndexAtX(double X) {
    if (!XAxis() || Count() == 0)
        return -1;
    const int Last = Count() - 1;
    int I;
    if (FXIncreasing) {
        if (!(X >= GetX(0) && X <= GetX(Last)))
            return -1;
        I = FindX(X);
        if (X > GetX(I))
            ++I;
    } else {
        if (!(X <= GetX(0) && X >= GetX(Last)))
            return -1;
        I = FindX(X);
        if (X > GetX(I))
            --I;
    }
    return std::clamp(I, 0, Last);
}

int TiPlotChannel::CursorYAtX(double X1, int, double& Y) {
    constexpr int Valid = 0, Null = 1, Empty = 2;
    Y = 0;
    if (Count() == 0)
        return Empty;
    const int Last = Count() - 1;
    const bool Inside =
        FXIncreasing ? X1 >= GetX(0) && X1 <= GetX(Last) : X1 <= GetX(0) && X1 >= GetX(Last);
    // A step holds its value beyond the last point.
    const bool Steps = !FDigitalEnabled && (FInterpolationStyle == ipistDifferential ||
                                            FInterpolationStyle == ipistDifferentialTerminated);
    if (!Inside && !Steps)
        return Empty;
    switch (FInterpolationStyle) {
    case ipistCubicSpline:
    case ipistPolynomial:
    case ipistRational: {
        // The value the curve drew in X1's pixel column in the last paint.
        const int Column = XAxis()->ValueToPixel(X1);
        if (Column < FPixelListFirst || Column > FPixelListLast ||
            FPixelList[Column - FPixelListFirst].Empty)
            return Null;
        Y = FPixelList[Column - FPixelListFirst].Y;
        return Valid;
    }
    case ipistDifferential:
    case ipistDifferentialTerminated: {
        const int I = IndexAtX(X1) - 1;
        if (I >= 0) {
            Y = GetY(I);
            return GetNull(I) ? Null : GetEmpty(I) ? Empty : Valid;
        }
        if (FInterpolationStyle == ipistDifferentialTerminated || GetNull(Last) || GetEmpty(Last) ||
            !(GetX(Last) < X1))
            return Null;
        Y = GetY(Last);
        return Valid;
    }
    case ipistStraightLine:
    default:
        return GetYAtX(X1, Y) ? Valid : Null;
    }
}

bool TiPlotChannel::GetYAtX(double X, double& Y) {
    Y = 0;
    const int I = IndexAtX(X);
    if (I == -1)
        return false;
    // A point exactly at X answers with its own value, the first one too.
    if (X == GetX(I) && !DigitalTrace()) {
        Y = GetY(I);
        return true;
    }
    const int J = FXIncreasing ? I - 1 : I + 1;
    if (J == -1 || J >= Count())
        return false;
    if (DigitalTrace()) {
        Y = GetY(J);
        return true;
    }
    if (X != GetX(I)) {
        // Between points I and J, whichever way X runs.
        if (GetNull(I) || GetNull(J))
            return false;
        const TiPlotAxis* Axis = XAxis();
        const int PJ = Axis->ValueToPixel(GetX(J));
        const int PI = Axis->ValueToPixel(GetX(I));
        const int PX = Axis->ValueToPixel(X);
        if (PJ != PI && PX != PI) {
            Y = GetY(I) + double(PX - PI) * (GetY(J) - GetY(I)) / double(PJ - PI);
            return true;
        }
    }
    Y = GetY(I);
    return true;
}

int TiPlotChannel::AddYElapsedTime(double Y) {
    return AddXY(Now() - FStartTime, Y);
}

int TiPlotChannel::AddYElapsedSeconds(double Y) {
    return AddXY((Now() - FStartTime) * 86400, Y);
}

bool TiPlotChannel::HitTest(TPoint P) {
    if (TiPlotChannelCustom::HitTest(P))
        return true;
    TiPlotAxis* XA = XAxis();
    TiPlotAxis* YA = YAxis();
    if (!XA || !YA || !ShiftState().Contains(ssRight))
        return false;
    const int Along = XYSwap() ? P.Y : P.X;
    double Y;
    if (!GetYAtX(XA->PixelToValue(Along), Y))
        return false;
    const int Across = YA->ValueToPixel(Y);
    const TPoint T = XYSwap() ? Point(Across, Along) : Point(Along, Across);
    return TRect{T.X - 10, T.Y - 10, T.X + 10, T.Y + 10}.Contains(P);
}

std::string TiPlotChannel::InverseDeltaXText(double X) {
    return XAxis()->PlainText(X);
}

int TiXYPlotChannel::CursorYAtX(double, int Pixel2, double& Y) {
    Y = 0;
    const TiPlotAxis* Axis = YAxis();
    if (Count() == 0 || !Axis)
        return 2;
    Y = Axis->PixelToValue(Pixel2);
    return 0;
}
