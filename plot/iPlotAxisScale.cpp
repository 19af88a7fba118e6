#include "plot/iPlotAxisScale.h"

#include "platform/Arith.h"
#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

constexpr double ValueLimit = 1e300;
constexpr double MSecsPerDay = 86400000;

// Month and year ticks need dates the calendar can count in.
constexpr double MaxCalendarSpan = 36525;
constexpr double MinMonthsDate = 0;
constexpr double MinYearsDate = -182625;
constexpr double MaxCalendarDate = 2593224;

const std::string UnknownText = "Unknown";
const std::string ErrorText = "Error";

// A logarithmic axis cannot show values that are not positive.
double PositiveOrOne(double Value) {
    return Value > 0 ? Value : 1;
}

} // namespace

double ClampDesiredIncrement(double Value) {
    return std::clamp(Value, 0.0, ValueLimit);
}

int TiPlotAxisScale::PixelLength() const {
    return std::abs(Pixel1 - Pixel0);
}

int TiPlotAxisScale::OtherPixel(double Value) const {
    if (Pixel0 == Pixel1 || Span <= SmallestSpan)
        return Div(Pixel0 + Pixel1, 2);
    const double Mn = PositiveOrOne(Min);
    const double Decades = Log10(Mn + PositiveOrOne(Span)) - Log10(Mn);
    if (Decades == 0)
        return 0;
    return PixelAtOffset(Pixel0,
                         (Log10(PositiveOrOne(Value)) - Log10(Mn)) * (Pixel0 - Pixel1) / Decades,
                         std::numeric_limits<std::int32_t>::max());
}

double TiPlotAxisScale::PixelToValue(double Pixel) const {
    if (Pixel0 == Pixel1)
        return Min;
    const double F = (Pixel - Pixel0) / (Pixel1 - Pixel0);
    if (ScaleType == ipstLinear)
        return Min + Span * F;
    const double Mn = PositiveOrOne(Min);
    return Power(10, Log10(Mn) + (Log10(Mn + PositiveOrOne(Span)) - Log10(Mn)) * F);
}

int TiPlotAxisScale::LengthToPixels(double Length) const {
    return std::abs(ValueToPixel(Min + Length) - ValueToPixel(Min));
}

bool TiPlotAxisScale::InRange(double Value) const {
    return PixelInRange(ValueToPixel(Value));
}

bool TiPlotAxisScale::PixelInRange(int Pixel) const {
    return Pixel >= std::min(Pixel0, Pixel1) && Pixel <= std::max(Pixel0, Pixel1);
}

TiPlotAxisScale MakeAxisScale(int Pixel0, int Pixel1, double Min, double Span,
                              TiPlotScaleType ScaleType) {
    return {Pixel0, Pixel1, Min, Span, ScaleType, (Pixel0 - Pixel1) / Span};
}

TiPlotAxisScale MakeAxisScale(const TRect& Box, bool Horizontal, bool ReverseScale, double Min,
                              double Span, TiPlotScaleType ScaleType) {
    int Pixel0 = Horizontal ? Box.Left : Box.Bottom;
    int Pixel1 = Horizontal ? Box.Right : Box.Top;
    if (ReverseScale)
        std::swap(Pixel0, Pixel1);
    return MakeAxisScale(Pixel0, Pixel1, Min, Span, ScaleType);
}

int AxisEndsMargin(bool Horizontal, bool LabelsVisible, int LabelLength, int ZeroSize,
                   double StackingEndsMargin) {
    const std::int64_t Gap = Round(ZeroSize * StackingEndsMargin);
    if (!Horizontal)
        return int(Div<std::int64_t>(LabelLength + Gap, 2));
    return int((LabelsVisible ? Round(LabelLength / 2.0) : 0) + Gap);
}

TiPlotAxisBox CalcAxisBox(const TRect& R, bool Horizontal, int EndsMargin, bool StackedBefore,
                          bool StackedAfter) {
    const int E = EndsMargin;
    TRect Box = R;
    if (Horizontal) {
        Box.Left += StackedBefore ? E : 0;
        Box.Right -= StackedAfter ? E : 0;
        return {Box, Rect(Box.Left - E, R.Top + 2, Box.Right + E, R.Bottom - 2)};
    }
    Box.Bottom -= StackedBefore ? E : 0;
    Box.Top += StackedAfter ? E : 0;
    return {Box, Rect(R.Left + 2, Box.Top - E, R.Right - 2, Box.Bottom + E)};
}

int LabelPitch(bool Horizontal, TiRotationAngle Rotation, int MaxLabelWidth, int ZeroWidth,
               int ZeroHeight, double LabelSeparation) {
    const bool Upright = Rotation == ira000 || Rotation == ira180;
    const double Gaps = LabelSeparation + 1;
    // Labels follow one another by their width where the text runs along the axis.
    if (Horizontal == Upright)
        return int(Round(MaxLabelWidth + ZeroWidth * Gaps));
    return int(Round(ZeroHeight * Gaps));
}

// ---- Label texts ----

namespace {

int DecimalsFor(const TiPlotLabelFormat& Format, double Width) {
    return GetDecimalPlaces(Format.Precision, Format.PrecisionStyle, 0, Width);
}

std::string ValueText(const TiPlotLabelFormat& Format, double Value, double Span,
                      TiPlotScaleType ScaleType) {
    if (ScaleType == ipstLinear)
        return FormatFixed(Value, DecimalsFor(Format, Span));
    if (!(Value > 0))
        return UnknownText;
    // Enough decimals to tell the decades below 1 apart.
    const double Decimals = -std::trunc(Log10(Value) - 0.5);
    return FormatFixed(Value, Decimals > 0 ? int(Decimals) : 0);
}

std::string ExponentText(const TiPlotLabelFormat& Format, double Value) {
    const bool Fixed = Format.PrecisionStyle == ipsFixedDecimalPoints;
    return FormatExponent(Value, Fixed ? Format.Precision + 1 : Format.Precision);
}

const char* PrefixOf(double Exponent) {
    static constexpr struct {
        double Exponent;
        const char* Prefix;
    } Prefixes[] = {{24, "Y"},  {21, "Z"},  {18, "E"},  {15, "P"},  {12, "T"},      {9, "G"},
                    {6, "M"},   {3, "K"},   {0, ""},    {-3, "m"},  {-6, "\u00B5"}, {-9, "n"},
                    {-12, "p"}, {-15, "f"}, {-18, "a"}, {-21, "z"}, {-24, "y"}};
    for (const auto& P : Prefixes)
        if (P.Exponent == Exponent)
            return P.Prefix;
    return nullptr;
}

std::string PrefixText(const TiPlotLabelFormat& Format, double Value) {
    const double Exponent =
        Value == 0 ? 0 : std::trunc(std::trunc(Log10(std::fabs(Value)) / 3) * 3);
    const char* Prefix = PrefixOf(Exponent);
    if (!Prefix)
        return UnknownText;
    const double Mantissa = Value / Power(10, Exponent);
    return FormatFixed(Mantissa, DecimalsFor(Format, Mantissa)) + Prefix;
}

std::string DateTimeText(const std::string& Format, double Value) {
    // A leading J puts the whole day count before the date.
    if (!Format.empty() && (Format[0] == 'J' || Format[0] == 'j'))
        return FormatFixed(std::trunc(Value), 0) + " " + FormatDateTime(Format.substr(1), Value);
    return FormatDateTime(Format, Value);
}

// Whole units, a period, two digits of 32nds and one of eighths of a 32nd,
// the value rounded to the nearest 256th.
std::string Price32Text(double Value) {
    if (!std::isfinite(Value))
        return FormatFixed(Value, 0);
    const double Shifted = std::fabs(Value) + 1.0 / 512;
    double Whole = std::trunc(Shifted);
    std::int64_t Parts = Round(Frac(Shifted) * 1024);
    if (Parts == 1024) { // rounded up to the next whole
        Whole += 1;
        Parts = 0;
    }
    const std::string Text = FormatFixed(Whole, 0) + "." +
                             FormatDecimal(Div<std::int64_t>(Parts, 32), 2) +
                             IntToStr(Div<std::int64_t>(Mod<std::int64_t>(Parts, 32), 4));
    const bool Nonzero = Whole != 0 || Parts >= 4;
    return Value < 0 && Nonzero ? "-" + Text : Text;
}

std::string ThousandsText(double Value, int Decimals) {
    std::string Text = FormatFixed(Value, Decimals);
    const std::size_t Begin = Text[0] == '-' ? 1 : 0;
    std::size_t End = std::min(Text.find(DecimalSeparator()), Text.size());
    const char Separator = ThousandSeparator();
    for (; End > Begin + 3; End -= 3)
        Text.insert(End - 3, 1, Separator);
    return Text;
}

std::string StyleText(const TiPlotLabelFormat& Format, double Value, double Span,
                      TiPlotScaleType ScaleType) {
    switch (Format.Style) {
    case iptfValue:
        return ValueText(Format, Value, Span, ScaleType);
    case iptfExponent:
        return ExponentText(Format, Value);
    case iptfPrefix:
        return PrefixText(Format, Value);
    case iptfDateTime:
        return DateTimeText(Format.DateTimeFormat, Value);
    case iptfPrice32nds:
        return Price32Text(Value);
    case iptfThousands:
        return ThousandsText(Value, DecimalsFor(Format, Span));
    }
    return UnknownText;
}

} // namespace

std::string FormatAxisValue(const TiPlotLabelFormat& Format, double Value, double Span,
                            TiPlotScaleType ScaleType) {
    try {
        return Trim(StyleText(Format, Value, Span, ScaleType));
    } catch (const Exception&) {
        return ErrorText;
    }
}

// ---- Ticks ----

namespace {

enum class TCalendar { None, Months, Years };

// Incr counts months or years for calendar ticks, days otherwise.
struct TIncrement {
    int Count = 0;
    double Incr = 0;
    TCalendar Calendar = TCalendar::None;
};

// The first step that divides Span into at most MaxCount parts.
std::optional<double> FirstFit(double Span, int MaxCount, std::initializer_list<double> Steps) {
    for (double Step : Steps)
        if (MaxCount >= Span / Step)
            return Step;
    return std::nullopt;
}

// The first divisor G with Units div G at most MaxCount.
std::optional<double> FirstDivisor(double Units, int MaxCount, const std::vector<double>& Ladder) {
    for (double G : Ladder)
        if (MaxCount >= std::trunc(Units / G))
            return G;
    return std::nullopt;
}

TIncrement NiceIncrement(double Span, int MaxCount) {
    for (int D = int(std::trunc(Log10(Span) - 1 - Log10(MaxCount)));; ++D) {
        const double M = Power(10, D);
        if (const auto Step = FirstFit(Span, MaxCount, {M, 2 * M, 5 * M}))
            return {int(Round(Span / *Step)), *Step};
    }
}

TIncrement Price32Increment(double Span, int MaxCount) {
    if (const auto Step = FirstFit(
            Span, MaxCount,
            {1.0 / 256, 1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2}))
        return {int(Trunc(Span / *Step)), *Step};
    for (int I = 0;; ++I) {
        const double M = std::trunc(Power(10, I));
        if (const auto Step = FirstFit(Span, MaxCount, {M, 2 * M, 5 * M}))
            return {int(Trunc(Span / *Step)), *Step};
    }
}

// Whole units of UnitMSecs in a span of days, the time of day decoded to
// the millisecond. Counted in a double: spans of weeks overflow 32 bits in
// milliseconds, and spans of millennia in minutes.
double WholeUnits(double Span, double UnitMSecs) {
    const double MSecsOfDay = std::round(Frac(Span) * MSecsPerDay);
    return std::trunc(Span) * (MSecsPerDay / UnitMSecs) + std::trunc(MSecsOfDay / UnitMSecs);
}

int CountOf(double Units, double G) {
    return std::max(1, int(std::trunc(Units / G)));
}

TIncrement DateTimeIncrement(double Span, int MaxCount) {
    static const std::vector<double> Clock = {1, 2, 5, 10, 15, 20, 30};
    static const struct {
        double UnitMSecs;
        std::vector<double> Ladder;
    } TimeLevels[] = {{1, {1, 2, 5, 10, 20, 50, 100, 200, 500}},
                      {1000, Clock},
                      {60000, Clock},
                      {3600000, {1, 2, 4, 6, 12}}};
    for (const auto& Level : TimeLevels) {
        const double Units = WholeUnits(Span, Level.UnitMSecs);
        if (const auto G = FirstDivisor(Units, MaxCount, Level.Ladder))
            return {CountOf(Units, *G), *G * Level.UnitMSecs / MSecsPerDay};
    }
    const double Days = std::trunc(Span);
    if (const auto G = FirstDivisor(Days, MaxCount, {1, 7, 14}))
        return {CountOf(Days, *G), *G};
    static constexpr struct {
        double Days, Months;
    } MonthSteps[] = {{31, 1}, {61, 2}, {92, 3}, {183, 6}};
    for (const auto& Step : MonthSteps)
        if (MaxCount >= std::trunc(Days / Step.Days))
            return {CountOf(Days, Step.Days), Step.Months, TCalendar::Months};
    // Year ticks show at most a century, so the increment is chosen for that.
    const double ShownDays = std::trunc(std::min(Span, MaxCalendarSpan));
    for (int I = 0;; ++I) {
        const double M = std::trunc(Power(10, I));
        for (const double Years : {M, 2 * M, 5 * M})
            if (MaxCount >= std::trunc(ShownDays / (365 * Years)))
                return {CountOf(ShownDays, 365 * Years), Years, TCalendar::Years};
    }
}

// The distance of the major ticks and how many of them the span holds;
// MaxCount labels fit along the axis.
TIncrement ChooseIncrement(double Span, int PixelLength, const TiPlotTickSettings& Settings,
                           int MaxCount) {
    TIncrement Inc;
    if (Span <= 1e-299)
        Inc = {1, Span};
    const double Desired = Settings.DesiredIncrement;
    if (Inc.Count == 0 && Desired > 0) {
        const double G = Span / Desired;
        // Without labels, the desired increment only has to leave room for the minor ticks.
        const bool RoomForMinors =
            !Settings.LabelsVisible && G < PixelLength / (double(Settings.MinorCount) + 1);
        if (RoomForMinors || MaxCount > G) {
            Inc = {int(Round(G)), Desired};
            MaxCount = Inc.Count;
        }
    }
    MaxCount = std::max(MaxCount, 1);
    if (Inc.Count == 0) {
        switch (Settings.Labels.Style) {
        case iptfDateTime:
            Inc = DateTimeIncrement(Span, MaxCount);
            break;
        case iptfPrice32nds:
            Inc = Price32Increment(Span, MaxCount);
            break;
        default:
            Inc = NiceIncrement(Span, MaxCount);
        }
    }
    // Calendar increments stay whole months or years.
    const bool Halvable = Inc.Calendar == TCalendar::None || Round(Inc.Incr / 2) >= 1;
    if (Inc.Count < 2 && MaxCount > 1 && Halvable) {
        Inc.Incr /= 2;
        Inc.Count = 2;
    }
    if (MaxCount < Inc.Count) {
        Inc.Count = MaxCount;
        Inc.Incr = Span / MaxCount;
    }
    return Inc;
}

int CalendarMonths(const TIncrement& Inc) {
    const int N = int(Round(Inc.Incr));
    return Inc.Calendar == TCalendar::Years ? 12 * N : N;
}

int DaysInMonth(int Year, int Month) {
    const TDateTime First = EncodeDate(Year, Month, 1);
    const TDateTime Next =
        Month == 12 ? EncodeDate(Year + 1, 1, 1) : EncodeDate(Year, Month + 1, 1);
    return int(Next - First);
}

// The same day and time Months later, the day limited to the month's length.
TDateTime AddMonths(TDateTime Value, int Months) {
    int Year = 0, Month = 0, Day = 0;
    DecodeDate(Value, Year, Month, Day);
    const int Total = Year * 12 + Month - 1 + Months;
    Year = Total / 12;
    Month = Total % 12 + 1;
    const TDateTime Date = EncodeDate(Year, Month, std::min(Day, DaysInMonth(Year, Month)));
    // Before 1899-12-30 the time of day counts away from zero.
    const double TimeOfDay = std::fabs(Frac(Value));
    return Date < 0 ? Date - TimeOfDay : Date + TimeOfDay;
}

double Advance(double S, const TIncrement& Inc, int Direction) {
    if (Inc.Calendar == TCalendar::None)
        return S + Direction * Inc.Incr;
    return AddMonths(S, Direction * CalendarMonths(Inc));
}

// The first month or year of the increment's grid at or before Min, one
// increment earlier.
double CalendarStart(double Min, const TIncrement& Inc) {
    const int N = int(Round(Inc.Incr));
    int Year = 0, Month = 0, Day = 0;
    DecodeDate(Min, Year, Month, Day);
    if (Inc.Calendar == TCalendar::Months)
        return AddMonths(EncodeDate(Year, std::max(1, Month / N * N), 1), -N);
    return EncodeDate(Year / N * N - N, 1, 1);
}

TiPlotAxisScale CalendarScale(const TiPlotAxisScale& Scale, TCalendar Calendar) {
    const double Lowest = Calendar == TCalendar::Months ? MinMonthsDate : MinYearsDate;
    return MakeAxisScale(Scale.Pixel0, Scale.Pixel1, std::clamp(Scale.Min, Lowest, MaxCalendarDate),
                         std::min(Scale.Span, MaxCalendarSpan), Scale.ScaleType);
}

double StartValue(const TiPlotAxisScale& Scale, const TIncrement& Inc, double DesiredStart) {
    if (DesiredStart != 0 && Scale.Min <= DesiredStart && DesiredStart <= Scale.Max()) {
        double S = DesiredStart;
        while (S > Scale.Min) {
            const double Before = Advance(S, Inc, -1);
            if (Before == S)
                break;
            S = Before;
        }
        return S;
    }
    if (Inc.Calendar != TCalendar::None)
        return CalendarStart(Scale.Min, Inc);
    return std::trunc(Scale.Min / Inc.Incr) * Inc.Incr - Inc.Incr;
}

struct TTickList {
    const TiPlotAxisScale& Scale;
    const TiPlotLabelFormat& Labels;
    std::vector<TiPlotTick>& Ticks;

    void Add(bool Minor, double Value) {
        if (!Scale.InRange(Value) || (Scale.ScaleType == ipstLog10 && !(Value > 0)))
            return;
        TiPlotTick Tick;
        Tick.Minor = Minor;
        Tick.Value = Value;
        if (!Minor)
            Tick.Text = FormatAxisValue(Labels, Value, Scale.Span, Scale.ScaleType);
        Ticks.push_back(std::move(Tick));
    }
};

// Majors from S on, each followed by MinorCount minors; the next major is
// reached by adding the minor steps. Ends where adding no longer moves S.
void AddSteppedTicks(TTickList& List, double S, const TIncrement& Inc, int MinorCount) {
    const double Last = List.Scale.Max() + Inc.Incr;
    const double Step = Inc.Incr / (double(MinorCount) + 1);
    const bool WithMinors = MinorCount > 0 && Inc.Calendar == TCalendar::None && Step != 0;
    while (S <= Last) {
        List.Add(false, S);
        for (int I = 0; WithMinors && I < MinorCount; ++I) {
            const double T = S + Step;
            if (T == S)
                return;
            List.Add(true, T);
            S = T;
        }
        const double Next = WithMinors ? S + Step : Advance(S, Inc, 1);
        if (Next == S)
            return;
        S = Next;
    }
}

// Majors at the decades, with the 2..9 multiples as minors when every
// decade gets a label; otherwise every 2nd, 5th, 10th ... decade.
void AddLogTicks(TTickList& List, int MaxCount) {
    const TiPlotAxisScale& Scale = List.Scale;
    const double Mn = PositiveOrOne(Scale.Min);
    const double Decades = Log10(Scale.Max()) - Log10(Scale.Min);
    int Step = 1;
    int G = 0;
    if (MaxCount >= Decades) {
        G = int(std::trunc(Log10(Scale.Min))) - 1;
    } else {
        Step = 200;
        for (const int S : {2, 5, 10, 20, 50, 100})
            if (MaxCount >= Decades / S) {
                Step = S;
                break;
            }
        G = int(std::trunc(Log10(Mn)));
    }
    for (; Power(10, G) <= Scale.Span + Mn; G += Step) {
        const double Major = Power(10, G);
        List.Add(false, Major);
        for (int K = 2; Step == 1 && K <= 9; ++K)
            List.Add(true, K * Major);
    }
}

} // namespace

void PlaceTicks(std::vector<TiPlotTick>& Ticks, const TiPlotAxisScale& Scale) {
    for (TiPlotTick& Tick : Ticks) {
        Tick.Visible = Scale.InRange(Tick.Value);
        if (Tick.Visible)
            Tick.Pixel = Scale.ValueToPixel(Tick.Value);
    }
}

TiPlotTicks CalcTicks(const TiPlotAxisScale& Scale, const TiPlotTickSettings& Settings) {
    TiPlotTicks Result;
    Result.Scale = Scale;
    // A scale without numbers has no ticks.
    if (!std::isfinite(Scale.Min) || !std::isfinite(Scale.Span))
        return Result;
    const int MaxCount = std::max(1, Scale.PixelLength() / std::max(Settings.LabelPitch, 1));
    if (Scale.ScaleType == ipstLog10 && Log10(Scale.Max()) - Log10(Scale.Min) > 1) {
        TTickList List{Result.Scale, Settings.Labels, Result.Ticks};
        AddLogTicks(List, MaxCount);
    } else {
        const TIncrement Inc = ChooseIncrement(Scale.Span, Scale.PixelLength(), Settings, MaxCount);
        if (Inc.Calendar != TCalendar::None)
            Result.Scale = CalendarScale(Scale, Inc.Calendar);
        Result.MonthTicks = Inc.Calendar == TCalendar::Months;
        Result.YearTicks = Inc.Calendar == TCalendar::Years;
        TTickList List{Result.Scale, Settings.Labels, Result.Ticks};
        AddSteppedTicks(List, StartValue(Result.Scale, Inc, Settings.DesiredStart), Inc,
                        Settings.MinorCount);
    }
    PlaceTicks(Result.Ticks, Result.Scale);
    return Result;
}
