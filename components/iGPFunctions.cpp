#include "components/iGPFunctions.h"

#include "platform/Arith.h"
#include "platform/Canvas.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int DimChannel(int Channel, int Divisor) {
    const std::int64_t V =
        Divisor >= 1 ? Channel / Divisor : std::int64_t(Channel) * -std::int64_t(Divisor);
    return int(std::clamp<std::int64_t>(V, 0, 255));
}

struct TTimeOfDay {
    std::int64_t Hour, Min, Sec, MSec;
};

// Whole days times PerDay plus the time of day counted in the same unit.
std::int32_t DateTimeCount(TDateTime Value, std::int64_t PerDay,
                           std::int64_t (*InUnit)(const TTimeOfDay&), std::int32_t Overflow) {
    constexpr double DayLimit = 2147483648.0;
    if (!(Value > -DayLimit && Value < DayLimit))
        return Overflow;
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
    DecodeTime(Value, Hour, Min, Sec, MSec);
    const std::int64_t Count = Trunc(Value) * PerDay + InUnit({Hour, Min, Sec, MSec});
    if (Count < 0 || Count > std::numeric_limits<std::int32_t>::max())
        return Overflow;
    return std::int32_t(Count);
}

// The canvas font is turned by the escapement only for this text.
void DrawTextFrom(TCanvas& Canvas, const std::string& Text, int X, int Y, int Escapement) {
    const TFont Saved = Canvas.Font();
    Canvas.Font().SetEscapement(Escapement);
    const auto RestoreFont = qScopeGuard([&] { Canvas.Font() = Saved; });
    TRect R = Rect(X, Y, X, Y);
    iDrawText(Canvas, Text, R, {itfLeft, itfTop, itfSingleLine, itfNoClip});
}

struct TGradientSteps {
    int Count; // the last step index; negative: nothing to draw
    int PenWidth;
    bool Swapped;
};

TGradientSteps GradientSteps(TiFillDirection Direction, const TRect& R) {
    const int Width = R.Width(), Height = R.Height();
    const int M = std::max(R.Right, R.Bottom);
    switch (Direction) {
    case ifdTopBottom:
        return {Height - 1, 1, false};
    case ifdBottomTop:
        return {Height - 1, 1, true};
    case ifdLeftRight:
        return {Width - 1, 1, false};
    case ifdRightLeft:
        return {Width - 1, 1, true};
    case ifdTopLeftBottomRight:
    case ifdBottomLeftTopRight:
        return {2 * (M - 1), 1, false};
    case ifdBottomRightTopLeft:
    case ifdTopRightBottomLeft:
        return {2 * (M - 1), 1, true};
    case ifdRectangleOut:
        return {Div(M - 1, 3), 2, false};
    case ifdRectangleIn:
        return {Div(M - 1, 3), 2, true};
    case ifdCircleOut:
        return {Div(M - 1, 8), 16, false};
    case ifdCircleIn:
        return {Div(M - 1, 8), 16, true};
    }
    return {-1, 1, false};
}

TColor Blend(TColor Begin, TColor End, double K, double L) {
    const auto Channel = [K, L](int B, int E) { return int(Round(K * E + L * B)); };
    return RGB(Channel(GetRValue(Begin), GetRValue(End)), Channel(GetGValue(Begin), GetGValue(End)),
               Channel(GetBValue(Begin), GetBValue(End)));
}

// The box grown from the centre of (0, 0, A, B) by the factor K.
TRect CentredBox(int A, int B, double K) {
    const double HalfA = A / 2.0, HalfB = B / 2.0;
    return Rect(int(Round(HalfA - K * HalfA)), int(Round(HalfB - K * HalfB)),
                int(Round(HalfA + K * HalfA)), int(Round(HalfB + K * HalfB)));
}

void GradientStep(TCanvas& Canvas, const TRect& R, TiFillDirection Direction, int I, double K) {
    const double N = 2 * K;
    const auto Line = [&Canvas](TPoint From, TPoint To) {
        const TPoint Points[] = {From, To};
        Canvas.Polyline(Points);
    };
    switch (Direction) {
    case ifdTopBottom:
    case ifdBottomTop:
        return Line(Point(R.Left, R.Top + I), Point(R.Right, R.Top + I));
    case ifdLeftRight:
    case ifdRightLeft:
        return Line(Point(R.Left + I, R.Top), Point(R.Left + I, R.Bottom));
    case ifdTopLeftBottomRight:
    case ifdBottomRightTopLeft:
        return Line(Point(int(Round(N * (R.Right - 1))) - 1, 0),
                    Point(-1, int(Round(N * (R.Bottom - 1)))));
    case ifdBottomLeftTopRight:
    case ifdTopRightBottomLeft:
        return Line(Point(0, (R.Bottom - 1) - int(Round(N * (R.Bottom - 1)))),
                    Point(int(Round(N * (R.Right - 1))), R.Bottom - 1));
    case ifdRectangleOut:
    case ifdRectangleIn:
        return Canvas.Rectangle(CentredBox(R.Right - 1, R.Bottom - 1, K));
    case ifdCircleOut:
    case ifdCircleIn:
        return Canvas.Ellipse(CentredBox(R.Right - 1, R.Bottom - 1, 1.414 * K));
    }
}

constexpr std::int32_t CountOverflow = 2147483647;
constexpr std::int32_t MinutesOverflow = 10000;

} // namespace

TColor DimColor(TColor Color, int Divisor) {
    const int R = DimChannel(GetRValue(Color), Divisor);
    const int G = DimChannel(GetGValue(Color), Divisor);
    const int B = DimChannel(GetBValue(Color), Divisor);
    return RGB(R, G, B);
}

int iDrawText(TCanvas& Canvas, const std::string& Text, TRect& Rect, TiTextFormatOptions Options) {
    constexpr unsigned Flags[] = {DT_LEFT,
                                  DT_CENTER,
                                  DT_RIGHT,
                                  DT_TOP,
                                  DT_VCENTER,
                                  DT_BOTTOM,
                                  DT_WORDBREAK,
                                  DT_SINGLELINE,
                                  DT_EXPANDTABS,
                                  DT_NOCLIP,
                                  0,
                                  DT_CALCRECT,
                                  DT_END_ELLIPSIS,
                                  DT_PATH_ELLIPSIS,
                                  DT_WORD_ELLIPSIS,
                                  DT_MODIFYSTRING};
    unsigned Format = Options.Contains(itfShowPrefix) ? 0 : DT_NOPREFIX;
    for (int Option = itfLeft; Option <= itfModifyString; ++Option)
        if (Options.Contains(TiTextFormatOption(Option)))
            Format |= Flags[Option];
    return Canvas.DrawText(Text, Rect, Format);
}

void iDrawRotatedText(TCanvas& Canvas, const std::string& Text, const TRect& Rect,
                      TiRotationAngle Angle, TRect& Bounds) {
    const int CX = Div(Rect.Left + Rect.Right, 2), CY = Div(Rect.Top + Rect.Bottom, 2);
    const int W = Canvas.TextWidth(Text), H = Canvas.TextHeight(Text);
    const TRect Upright = ::Rect(CX - Div(W, 2), CY - Div(H, 2), CX + Div(W, 2), CY + Div(H, 2));
    const TRect Turned = ::Rect(CX - Div(H, 2), CY - Div(W, 2), CX + Div(H, 2), CY + Div(W, 2));
    switch (Angle) {
    case ira000: {
        TiTextFormatOptions Options{itfCenter, itfVCenter, itfNoClip};
        // LF alone breaks lines too: texts made on this platform end lines so.
        if (Text.find_first_of("\r\n") == std::string::npos)
            Options.Include(itfSingleLine);
        TRect R = Rect;
        iDrawText(Canvas, Text, R, Options);
        Bounds = Upright;
        return;
    }
    case ira090:
        DrawTextFrom(Canvas, Text, CX - Div(H, 2), CY + Div(W, 2), 900);
        Bounds = Turned;
        return;
    case ira180:
        DrawTextFrom(Canvas, Text, CX + Div(W, 2), CY + Div(H, 2), 1800);
        Bounds = Upright;
        return;
    case ira270:
        DrawTextFrom(Canvas, Text, CX + H - Div(H, 2), CY - Div(W, 2), 2700);
        Bounds = Turned;
        return;
    }
}

int GetTextMaxLineWidth(TCanvas& Canvas, const std::string& Text) {
    int Widest = 0;
    std::size_t Begin = 0;
    while (Begin <= Text.size()) {
        const std::size_t End = std::min(Text.find_first_of("\r\n", Begin), Text.size());
        Widest = std::max(Widest, Canvas.TextWidth(Text.substr(Begin, End - Begin)));
        const bool CrLf = End + 1 < Text.size() && Text[End] == '\r' && Text[End + 1] == '\n';
        Begin = End + (CrLf ? 2 : 1);
    }
    return Widest;
}

int GetTextHeight(TCanvas& Canvas, const std::string& Text) {
    TRect R = Rect(0, 0, 0, 0);
    return iDrawText(Canvas, Text, R, {itfNoClip, itfCalcRect});
}

// Laid out with calcrect: the same height as drawing it out of sight,
// without leaving the drawing in a recording.
int GetWrappedTextHeight(TCanvas& Canvas, const std::string& Text, int Width) {
    TRect R = Rect(0, -800, Width, -100);
    return iDrawText(Canvas, Text, R, {itfLeft, itfTop, itfWordBreak, itfCalcRect});
}

void iDrawEdge(TCanvas& Canvas, const TRect& R, int Style) {
    switch (Style) {
    case 0:
        Canvas.DrawEdge(R, EDGE_SUNKEN, BF_RECT);
        return;
    case 1:
        Canvas.DrawEdge(R, EDGE_RAISED, BF_RECT);
        return;
    case 2: {
        Canvas.Pen().SetColor(clBtnShadow);
        Canvas.Pen().SetStyle(psSolid);
        const TPoint Corners[] = {Point(R.Left, R.Top), Point(R.Right - 1, R.Top),
                                  Point(R.Right - 1, R.Bottom - 1), Point(R.Left, R.Bottom - 1)};
        Canvas.Polygon(Corners);
        return;
    }
    default:
        return;
    }
}

void iDrawFocusRect(TCanvas& Canvas, const TRect& R) {
    Canvas.DrawFocusRect(R);
}

void iGradientFill(TCanvas& Canvas, const TRect& R, TiFillDirection Direction, TColor StartColor,
                   TColor StopColor) {
    const TGradientSteps Steps = GradientSteps(Direction, R);
    Canvas.Brush().SetStyle(bsClear);
    if (Steps.Count < 0)
        return;
    Canvas.Pen().SetWidth(Steps.PenWidth);
    // A single step has nothing to blend and takes the start colour.
    const bool Single = Steps.Count == 0;
    const TColor Begin = Steps.Swapped && !Single ? StopColor : StartColor;
    const TColor End = Steps.Swapped || Single ? StartColor : StopColor;
    for (int I = 0; I <= Steps.Count; ++I) {
        const double K = Single ? 0 : double(I) / Steps.Count;
        const double L = Single ? 1 : double(Steps.Count - I) / Steps.Count;
        Canvas.Pen().SetColor(Blend(Begin, End, K, L));
        GradientStep(Canvas, R, Direction, I, K);
    }
    const TPoint Centre = Point(R.Left + Div(R.Width(), 2) - 1, R.Top + Div(R.Height(), 2) - 1);
    if (Direction == ifdRectangleOut)
        Canvas.SetPixel(Centre.X, Centre.Y, StartColor & 0xFFFFFF);
    else if (Direction == ifdRectangleIn)
        Canvas.SetPixel(Centre.X, Centre.Y, StopColor & 0xFFFFFF);
}

int GetDecimalPlaces(int Precision, TiPrecisionStyle Style, double A, double B) {
    switch (Style) {
    case ipsFixedDecimalPoints:
        return Precision;
    case ipsSignificantDigits: {
        if (Precision <= 0)
            return 0;
        const double Span = std::fabs(B - A);
        if (!std::isfinite(Span))
            return 0;
        int Places = Span != 0 ? Precision - (int(Trunc(Log10(Span))) + 1) : 0;
        if (Span < 1)
            Places += 1;
        return std::max(Places, 0);
    }
    }
    return 0;
}

TRect NormalizedRect(int X1, int Y1, int X2, int Y2) {
    return Rect(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2));
}

TRect SwappedRect(bool Swap, int A1, int B1, int A2, int B2) {
    return Swap ? NormalizedRect(B1, A1, B2, A2) : NormalizedRect(A1, B1, A2, B2);
}

TPoint SwappedPoint(bool Swap, int A, int B) {
    return Swap ? Point(B, A) : Point(A, B);
}

// The library functions give exact results where the logarithm formulas in
// double precision do not (2^(2 * log2(3)) is 8.999999999999998).
double Log10(double X) {
    return std::log10(X);
}

double Power(double Base, double Exponent) {
    return std::pow(Base, Exponent);
}

std::int32_t DateTimeToMilliseconds(TDateTime Value) {
    return DateTimeCount(
        Value, 86400000,
        [](const TTimeOfDay& T) { return ((T.Hour * 60 + T.Min) * 60 + T.Sec) * 1000 + T.MSec; },
        CountOverflow);
}

std::int32_t DateTimeToSeconds(TDateTime Value) {
    return DateTimeCount(
        Value, 86400, [](const TTimeOfDay& T) { return (T.Hour * 60 + T.Min) * 60 + T.Sec; },
        CountOverflow);
}

std::int32_t DateTimeToMinutes(TDateTime Value) {
    return DateTimeCount(
        Value, 1440, [](const TTimeOfDay& T) { return T.Hour * 60 + T.Min; }, MinutesOverflow);
}

std::int32_t DateTimeToHours(TDateTime Value) {
    return DateTimeCount(
        Value, 24, [](const TTimeOfDay& T) { return T.Hour; }, CountOverflow);
}
