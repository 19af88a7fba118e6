#include "components/iGPFunctions.h"

#include "platform/Arith.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int DimChannel(int Channel, int Divisor) {
    const std::int64_t V =
        Divisor >= 1 ? Channel / Divisor : std::int64_t(Channel) * -std::int64_t(Divisor);
    return int(std::clamp<std::int64_t>(V, 0, 255));
}

// Days times PerDay plus the time of day counted in the same unit.
std::int32_t DateTimeCount(TDateTime Value, std::int64_t PerDay, std::int64_t TimeOfDay,
                           std::int32_t Overflow) {
    constexpr double DayLimit = 2147483648.0;
    if (!(Value > -DayLimit && Value < DayLimit))
        return Overflow;
    const std::int64_t Count = Trunc(Value) * PerDay + TimeOfDay;
    if (Count < 0 || Count > std::numeric_limits<std::int32_t>::max())
        return Overflow;
    return std::int32_t(Count);
}

struct TTimeOfDay {
    std::int64_t Hour, Min, Sec, MSec;
};

TTimeOfDay TimeOfDay(TDateTime Value) {
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
    if (std::isfinite(Value))
        DecodeTime(Value, Hour, Min, Sec, MSec);
    return {Hour, Min, Sec, MSec};
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
    const TTimeOfDay T = TimeOfDay(Value);
    return DateTimeCount(Value, 86400000, ((T.Hour * 60 + T.Min) * 60 + T.Sec) * 1000 + T.MSec,
                         CountOverflow);
}

std::int32_t DateTimeToSeconds(TDateTime Value) {
    const TTimeOfDay T = TimeOfDay(Value);
    return DateTimeCount(Value, 86400, (T.Hour * 60 + T.Min) * 60 + T.Sec, CountOverflow);
}

std::int32_t DateTimeToMinutes(TDateTime Value) {
    const TTimeOfDay T = TimeOfDay(Value);
    return DateTimeCount(Value, 1440, T.Hour * 60 + T.Min, MinutesOverflow);
}

std::int32_t DateTimeToHours(TDateTime Value) {
    const TTimeOfDay T = TimeOfDay(Value);
    return DateTimeCount(Value, 24, T.Hour, CountOverflow);
}
