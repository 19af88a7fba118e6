#include "plot/iPlotAxisScale.h"

#include "platform/DateTime.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// ---- Mapping ----

TEST(AxisScaleMapping, ValuesToPixelsOnEveryOrientation) {
    const TRect Box = Rect(0, 10, 600, 110);
    struct Case {
        bool Horizontal, Reverse;
        double Value;
        int Pixel;
    } Cases[] = {
        {true, false, 0, 0},
        {true, false, 50, 300},
        {true, false, 100, 600},
        {true, true, 0, 600},
        {true, true, 100, 0},
        {true, true, 25, 450},
        {false, false, 0, 110},
        {false, false, 100, 10},
        {false, false, 25, 85},
        {false, true, 0, 10},
        {false, true, 100, 110},
        {false, true, 25, 35},
        {true, false, -1e300, -32000},
        {true, false, 1e300, 32000},
        {true, false, std::nan(""), -32000}, // as far off as the largest values
    };
    for (const Case& C : Cases) {
        const TiPlotAxisScale Scale =
            MakeAxisScale(Box, C.Horizontal, C.Reverse, 0, 100, ipstLinear);
        EXPECT_EQ(Scale.ValueToPixel(C.Value), C.Pixel)
            << "horizontal " << C.Horizontal << " reverse " << C.Reverse << " value " << C.Value;
        if (std::abs(C.Value) <= 100) {
            EXPECT_DOUBLE_EQ(Scale.PixelToValue(C.Pixel), C.Value);
        }
    }
}

TEST(AxisScaleMapping, HalfPixelsRoundToEven) {
    const TiPlotAxisScale Scale = MakeAxisScale(0, 100, 0, 100, ipstLinear);
    EXPECT_EQ(Scale.ValueToPixel(2.5), 2);
    EXPECT_EQ(Scale.ValueToPixel(3.5), 4);
    EXPECT_DOUBLE_EQ(Scale.PixelToValue(2.5), 2.5) << "a fractional pixel";
}

TEST(AxisScaleMapping, RangeAndLengths) {
    const TiPlotAxisScale Scale = MakeAxisScale(0, 600, 0, 100, ipstLinear);
    EXPECT_TRUE(Scale.InRange(100.05)) << "rounds onto the last pixel";
    EXPECT_FALSE(Scale.InRange(100.1));
    EXPECT_TRUE(Scale.InRange(-0.05));
    EXPECT_FALSE(Scale.InRange(-0.1));
    EXPECT_EQ(Scale.LengthToPixels(10), 60);
    EXPECT_EQ(MakeAxisScale(600, 0, 0, 100, ipstLinear).LengthToPixels(10), 60);
    EXPECT_EQ(Scale.PixelLength(), 600);
}

TEST(AxisScaleMapping, DegenerateScalesMapToTheMiddle) {
    const TiPlotAxisScale Flat =
        MakeAxisScale(Rect(100, 0, 100, 50), true, false, 7, 100, ipstLinear);
    EXPECT_EQ(Flat.ValueToPixel(1234), 100);
    EXPECT_EQ(Flat.PixelToValue(100), 7);
    const TiPlotAxisScale NoSpan = MakeAxisScale(101, 0, 0, ClampAxisSpan(0), ipstLinear);
    EXPECT_EQ(NoSpan.ValueToPixel(0), 50);
    EXPECT_EQ(NoSpan.ValueToPixel(1), 50);
}

TEST(AxisScaleMapping, LogarithmicDecadesShareThePixels) {
    const TiPlotAxisScale Scale = MakeAxisScale(0, 600, 1, 999, ipstLog10);
    struct Case {
        double Value;
        int Pixel;
    } Cases[] = {{1, 0}, {10, 200}, {100, 400}, {1000, 600}, {0, 0}, {-5, 0}, {0.1, -200}};
    for (const Case& C : Cases)
        EXPECT_EQ(Scale.ValueToPixel(C.Value), C.Pixel) << C.Value;
    EXPECT_NEAR(Scale.PixelToValue(200), 10, 1e-12);
    EXPECT_NEAR(Scale.PixelToValue(300), std::sqrt(1000.0), 1e-9);
    EXPECT_NEAR(MakeAxisScale(600, 0, 1, 999, ipstLog10).PixelToValue(200), 100, 1e-9)
        << "reversed";
}

TEST(AxisScaleMapping, LogarithmicPixelsStayWithin32Bits) {
    // Far less than a decade over 600 pixels: a value decades away lies
    // beyond any pixel an int holds.
    const TiPlotAxisScale Scale = MakeAxisScale(0, 600, 1, 1e-12, ipstLog10);
    EXPECT_EQ(Scale.ValueToPixel(1e-5), -std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Scale.ValueToPixel(1e5), std::numeric_limits<std::int32_t>::max());
}

TEST(AxisScaleMapping, SettersClamp) {
    EXPECT_EQ(ClampAxisSpan(0), 1e-300);
    EXPECT_EQ(ClampAxisSpan(-5), 1e-300);
    EXPECT_EQ(ClampAxisSpan(1e305), 1e300);
    EXPECT_EQ(ClampAxisMin(1e305), 1e300);
    EXPECT_EQ(ClampAxisMin(-1e305), -1e300);
    EXPECT_EQ(ClampAxisMin(-3), -3);
    EXPECT_EQ(ClampDesiredIncrement(-1), 0);
    EXPECT_EQ(ClampDesiredIncrement(1e305), 1e300);
}

// ---- Axis box ----

TEST(AxisScaleBox, EndsMarginsAndStackedEnds) {
    EXPECT_EQ(AxisEndsMargin(true, true, 41, 7, 0.5), 24) << "round(20.5) + round(3.5)";
    EXPECT_EQ(AxisEndsMargin(true, false, 41, 7, 0.5), 4);
    EXPECT_EQ(AxisEndsMargin(false, true, 13, 13, 0.5), 9) << "(13 + 6) div 2";

    const TiPlotAxisBox H = CalcAxisBox(Rect(100, 400, 700, 430), true, 24, true, false);
    EXPECT_EQ(H.Box, Rect(124, 400, 700, 430));
    EXPECT_EQ(H.MouseRect, Rect(100, 402, 724, 428));
    const TiPlotAxisBox V = CalcAxisBox(Rect(10, 20, 60, 320), false, 9, false, true);
    EXPECT_EQ(V.Box, Rect(10, 29, 60, 320));
    EXPECT_EQ(V.MouseRect, Rect(12, 20, 58, 329));
}

TEST(AxisScaleBox, LabelPitchFollowsTheTextDirection) {
    EXPECT_EQ(LabelPitch(true, ira000, 40, 7, 13, 2), 61);
    EXPECT_EQ(LabelPitch(true, ira090, 40, 7, 13, 2), 39);
    EXPECT_EQ(LabelPitch(false, ira180, 40, 7, 13, 2), 39);
    EXPECT_EQ(LabelPitch(false, ira270, 40, 7, 13, 2), 61);
}

// ---- Label texts ----

struct TextCase {
    TiPlotTextFormat Style;
    TiPrecisionStyle PrecisionStyle;
    int Precision;
    double Value, Span;
    TiPlotScaleType ScaleType;
    const char* Text;
};

std::string TextOf(const TextCase& C, const std::string& DateTimeFormat = "hh:nn:ss") {
    return FormatAxisValue({C.Style, DateTimeFormat, C.Precision, C.PrecisionStyle}, C.Value,
                           C.Span, C.ScaleType);
}

TEST(AxisScaleText, EveryStyle) {
    TLocaleScope Period(PeriodLocale);
    constexpr auto Sig = ipsSignificantDigits;
    constexpr auto Fix = ipsFixedDecimalPoints;
    const TextCase Cases[] = {
        {iptfValue, Sig, 3, 10, 100, ipstLinear, "10"},
        {iptfValue, Sig, 3, 10, 40, ipstLinear, "10.0"},
        {iptfValue, Sig, 3, 1000, 4000, ipstLinear, "1000"},
        {iptfValue, Sig, 3, 0.1, 0.5, ipstLinear, "0.100"},
        {iptfValue, Sig, 3, 0.01, 0.05, ipstLinear, "0.0100"},
        {iptfValue, Fix, 2, 2.5, 4000, ipstLinear, "2.50"},
        {iptfValue, Sig, 3, -0.0001, 100, ipstLinear, "0"},
        {iptfValue, Sig, 3, 1000, 999, ipstLog10, "1000"},
        {iptfValue, Sig, 3, 0.01, 999, ipstLog10, "0.01"},
        {iptfValue, Sig, 3, 0.02, 999, ipstLog10, "0.02"},
        {iptfValue, Sig, 3, 0, 999, ipstLog10, "Unknown"},
        {iptfExponent, Sig, 3, 1234, 100, ipstLinear, "1.23E+003"},
        {iptfExponent, Fix, 3, -0.00123456, 100, ipstLinear, "-1.235E-003"},
        {iptfPrefix, Sig, 3, 0, 100, ipstLinear, "0.0"},
        {iptfPrefix, Sig, 3, 1500, 100, ipstLinear, "1.50K"},
        {iptfPrefix, Sig, 3, -1500, 100, ipstLinear, "-1.50K"},
        {iptfPrefix, Sig, 3, 25e6, 100, ipstLinear, "25.0M"},
        {iptfPrefix, Sig, 3, 0.0015, 100, ipstLinear, "0.00150"},
        {iptfPrefix, Sig, 3, 0.0005, 100, ipstLinear, "0.500m"},
        {iptfPrefix, Sig, 3, 2.5e-6, 100, ipstLinear, "0.00250m"},
        {iptfPrefix, Sig, 3, 5e-7, 100, ipstLinear, "0.500\u00B5"},
        {iptfPrefix, Fix, 1, 4e24, 100, ipstLinear, "4.0Y"},
        {iptfPrefix, Sig, 3, 1e27, 100, ipstLinear, "Unknown"},
        {iptfPrice32nds, Sig, 3, 101.5, 100, ipstLinear, "101.160"},
        {iptfPrice32nds, Sig, 3, 3 + 1.0 / 128, 100, ipstLinear, "3.002"},
        {iptfPrice32nds, Sig, 3, 7.25 + 1.0 / 32, 100, ipstLinear, "7.090"},
        {iptfPrice32nds, Sig, 3, 0.999, 100, ipstLinear, "1.000"},
        {iptfPrice32nds, Sig, 3, 0.998, 100, ipstLinear, "1.000"},
        {iptfPrice32nds, Sig, 3, -101.5, 100, ipstLinear, "-101.160"},
        {iptfPrice32nds, Sig, 3, -0.001, 100, ipstLinear, "0.000"},
        {iptfThousands, Fix, 2, 1234567.891, 100, ipstLinear, "1,234,567.89"},
        {iptfThousands, Sig, 3, -1234, 4000, ipstLinear, "-1,234"},
        {iptfThousands, Sig, 3, 999, 4000, ipstLinear, "999"},
        {iptfThousands, Sig, 3, 123456, 40, ipstLinear, "123,456.0"},
    };
    for (const TextCase& C : Cases)
        EXPECT_EQ(TextOf(C), C.Text) << "style " << int(C.Style) << " value " << C.Value;
}

TEST(AxisScaleText, DateTimes) {
    const TextCase Noon{iptfDateTime, ipsSignificantDigits, 3, 45292.5, 1, ipstLinear, ""};
    EXPECT_EQ(TextOf(Noon), "12:00:00");
    EXPECT_EQ(TextOf(Noon, "Jhh:nn"), "45292 12:00") << "day count first";
    EXPECT_EQ(TextOf(Noon, " yyyy-mm-dd "), "2024-01-01");
    const TextCase Far{iptfDateTime, ipsSignificantDigits, 3, 1e300, 1, ipstLinear, ""};
    EXPECT_EQ(TextOf(Far), "Error");
}

TEST(AxisScaleText, UsersSeparators) {
    TLocaleScope Comma(CommaLocale);
    constexpr auto Sig = ipsSignificantDigits;
    const TextCase Cases[] = {
        {iptfValue, Sig, 3, 10, 40, ipstLinear, "10,0"},
        {iptfPrefix, Sig, 3, 1500, 100, ipstLinear, "1,50K"},
        {iptfExponent, Sig, 3, 1234, 100, ipstLinear, "1,23E+003"},
        {iptfThousands, ipsFixedDecimalPoints, 2, 1234567.891, 100, ipstLinear, "1.234.567,89"},
        {iptfPrice32nds, Sig, 3, 101.5, 100, ipstLinear, "101.160"},
    };
    for (const TextCase& C : Cases)
        EXPECT_EQ(TextOf(C), C.Text) << "style " << int(C.Style);
}

// ---- Ticks ----

std::vector<double> Values(const TiPlotTicks& T, bool Minor) {
    std::vector<double> V;
    for (const TiPlotTick& Tick : T.Ticks)
        if (Tick.Minor == Minor)
            V.push_back(Tick.Value);
    return V;
}

std::vector<std::string> Texts(const TiPlotTicks& T) {
    std::vector<std::string> V;
    for (const TiPlotTick& Tick : T.Ticks)
        if (!Tick.Minor)
            V.push_back(Tick.Text);
    return V;
}

void ExpectValues(const std::vector<double>& Actual, const std::vector<double>& Expected,
                  double Tolerance = 1e-9) {
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t I = 0; I < Actual.size(); ++I)
        EXPECT_NEAR(Actual[I], Expected[I], Tolerance) << "tick " << I;
}

std::vector<double> Sequence(double First, double Step, int Count) {
    std::vector<double> V;
    for (int I = 0; I < Count; ++I)
        V.push_back(First + I * Step);
    return V;
}

// A horizontal axis over 600 pixels with labels 50 pixels apart: 12 fit.
class AxisScaleTicks : public ::testing::Test {
  protected:
    TiPlotAxisScale Scale = MakeAxisScale(0, 600, 0, 100, ipstLinear);
    TiPlotTickSettings Settings;

    AxisScaleTicks() { Settings.LabelPitch = 50; }

    TiPlotTicks Ticks() const { return CalcTicks(Scale, Settings); }
};

TEST_F(AxisScaleTicks, SpanOf100) {
    const TiPlotTicks T = Ticks();
    ExpectValues(Values(T, false), Sequence(0, 10, 11));
    ExpectValues(Values(T, true), Sequence(5, 10, 10));
    EXPECT_EQ(Texts(T), (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60", "70",
                                                  "80", "90", "100"}));
    for (const TiPlotTick& Tick : T.Ticks) {
        EXPECT_TRUE(Tick.Visible);
        EXPECT_EQ(Tick.Pixel, int(std::lround(Tick.Value * 6)));
    }
    EXPECT_FALSE(T.MonthTicks || T.YearTicks);
}

TEST_F(AxisScaleTicks, IncrementAndDecimalsFollowTheSpan) {
    struct Case {
        double Span, Incr;
        std::vector<std::string> FirstTexts;
    } Cases[] = {
        {40, 5, {"0.0", "5.0", "10.0"}},
        {4000, 500, {"0", "500", "1000"}},
        {0.5, 0.05, {"0.000", "0.050", "0.100"}},
        {0.05, 0.005, {"0.0000", "0.0050", "0.0100"}},
    };
    for (const Case& C : Cases) {
        Scale = MakeAxisScale(0, 600, 0, C.Span, ipstLinear);
        const TiPlotTicks T = Ticks();
        ExpectValues(Values(T, false), Sequence(0, C.Incr, int(std::lround(C.Span / C.Incr)) + 1),
                     C.Span * 1e-12);
        const std::vector<std::string> Labels = Texts(T);
        ASSERT_GE(Labels.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(Labels.begin(), Labels.begin() + 3), C.FirstTexts)
            << "span " << C.Span;
    }
}

TEST_F(AxisScaleTicks, ReverseScalePutsMinAtTheRight) {
    Scale = MakeAxisScale(600, 0, 0, 100, ipstLinear);
    const TiPlotTicks T = Ticks();
    ASSERT_FALSE(T.Ticks.empty());
    EXPECT_EQ(T.Ticks.front().Value, 0);
    EXPECT_EQ(T.Ticks.front().Pixel, 600);
    EXPECT_EQ(T.Ticks.back().Value, 100);
    EXPECT_EQ(T.Ticks.back().Pixel, 0);
}

TEST_F(AxisScaleTicks, DesiredIncrementWhereItFits) {
    struct Case {
        int Pitch;
        bool LabelsVisible;
        double Desired, Incr;
    } Cases[] = {
        {50, true, 25, 25},   // room for 12 labels, 4 wanted
        {200, true, 25, 50},  // room for 3: automatic
        {50, true, 5, 10},    // 20 wanted, 12 fit
        {50, false, 5, 5},    // without labels only the minor ticks need room
        {50, true, 250, 100}, // not half an increment in the span: automatic, one label
    };
    for (const Case& C : Cases) {
        Settings.LabelPitch = C.Pitch;
        Settings.LabelsVisible = C.LabelsVisible;
        Settings.DesiredIncrement = C.Desired;
        const std::vector<double> Majors = Values(Ticks(), false);
        ExpectValues(Majors, Sequence(0, C.Incr, int(100 / C.Incr) + 1));
    }
}

TEST_F(AxisScaleTicks, DesiredStart) {
    Settings.DesiredStart = 3;
    ExpectValues(Values(Ticks(), false), Sequence(3, 10, 10));
    Settings.DesiredStart = 150; // beyond the axis: ignored
    ExpectValues(Values(Ticks(), false), Sequence(0, 10, 11));
}

TEST_F(AxisScaleTicks, MinorCounts) {
    Settings.MinorCount = 0;
    EXPECT_TRUE(Values(Ticks(), true).empty());
    Settings.MinorCount = 4;
    const std::vector<double> Minors = Values(Ticks(), true);
    ASSERT_EQ(Minors.size(), 40u);
    ExpectValues({Minors.begin(), Minors.begin() + 5}, {2, 4, 6, 8, 12});
}

TEST_F(AxisScaleTicks, PriceIncrementsAreBinaryFractions) {
    Settings.Labels.Style = iptfPrice32nds;
    Scale = MakeAxisScale(0, 600, 100, 2, ipstLinear);
    const TiPlotTicks T = Ticks();
    ExpectValues(Values(T, false), Sequence(100, 0.25, 9));
    EXPECT_EQ(Texts(T)[1], "100.080");
    Scale = MakeAxisScale(0, 600, 0, 300, ipstLinear);
    ExpectValues(Values(Ticks(), false), Sequence(0, 50, 7));
}

TEST_F(AxisScaleTicks, NoSpanStaysInTheMiddle) {
    Scale = MakeAxisScale(0, 600, 5, ClampAxisSpan(0), ipstLinear);
    const TiPlotTicks T = Ticks();
    EXPECT_LT(T.Ticks.size(), 10u);
    for (const TiPlotTick& Tick : T.Ticks)
        EXPECT_EQ(Tick.Pixel, 300);
}

TEST_F(AxisScaleTicks, TinyIncrementOnAHugeMinEnds) {
    Scale = MakeAxisScale(0, 600, 1e15, 1e-5, ipstLinear);
    EXPECT_LE(Ticks().Ticks.size(), 2u);
    Settings.DesiredStart = 1e15;
    EXPECT_LE(Ticks().Ticks.size(), 2u);
}

TEST_F(AxisScaleTicks, LogarithmicDecades) {
    Settings.LabelPitch = 60; // 10 labels fit
    Scale = MakeAxisScale(0, 600, 1, 999, ipstLog10);
    const TiPlotTicks T = Ticks();
    EXPECT_EQ(Values(T, false), (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_EQ(Texts(T), (std::vector<std::string>{"1", "10", "100", "1000"}));
    std::vector<double> Minors;
    for (double Decade : {1, 10, 100})
        for (int K = 2; K <= 9; ++K)
            Minors.push_back(K * Decade);
    EXPECT_EQ(Values(T, true), Minors);
    EXPECT_EQ(T.Ticks[1].Value, 2);
    EXPECT_EQ(T.Ticks[1].Pixel, 60) << "200 x log10(2)";
}

TEST_F(AxisScaleTicks, LogarithmicSkipsDecadesWhenCrowded) {
    Settings.LabelPitch = 200; // 3 labels fit over 12 decades: every 5th
    Scale = MakeAxisScale(0, 600, 1, 1e12 - 1, ipstLog10);
    const TiPlotTicks T = Ticks();
    EXPECT_EQ(Values(T, false), (std::vector<double>{1, 1e5, 1e10}));
    EXPECT_TRUE(Values(T, true).empty());
    EXPECT_EQ(Texts(T)[1], "100000");
}

TEST_F(AxisScaleTicks, LogarithmicFromZeroStartsAtOne) {
    Scale = MakeAxisScale(0, 600, 0, 100, ipstLog10);
    const TiPlotTicks T = Ticks();
    EXPECT_EQ(Values(T, false), std::vector<double>{1});
    EXPECT_EQ(T.Ticks.front().Pixel, 0);
}

TEST_F(AxisScaleTicks, LogarithmicWithinADecadeStepsLinearly) {
    Scale = MakeAxisScale(0, 600, 2, 6, ipstLog10);
    ExpectValues(Values(Ticks(), false), Sequence(2, 0.5, 13));
}

// ---- Date-time ticks ----

class AxisScaleDateTimeTicks : public AxisScaleTicks {
  protected:
    void SetUp() override {
        Settings.Labels = {iptfDateTime, "yyyy-mm-dd hh:nn", 3, ipsSignificantDigits};
    }
    void Axis(TDateTime Min, double Span, int Pitch) {
        Scale = MakeAxisScale(0, 600, Min, Span, ipstLinear);
        Settings.LabelPitch = Pitch;
    }
};

TEST_F(AxisScaleDateTimeTicks, HoursOfADay) {
    Axis(EncodeDate(2024, 1, 1), 0.25, 100);
    const TiPlotTicks T = Ticks();
    EXPECT_EQ(Texts(T),
              (std::vector<std::string>{"2024-01-01 00:00", "2024-01-01 01:00", "2024-01-01 02:00",
                                        "2024-01-01 03:00", "2024-01-01 04:00", "2024-01-01 05:00",
                                        "2024-01-01 06:00"}));
    ExpectValues(Values(T, true), Sequence(EncodeDate(2024, 1, 1) + 1.0 / 48, 1.0 / 24, 6), 1e-9);
}

TEST_F(AxisScaleDateTimeTicks, Weeks) {
    Axis(EncodeDate(2024, 1, 1), 28, 100);
    const TiPlotTicks T = Ticks();
    EXPECT_EQ(Texts(T), (std::vector<std::string>{"2024-01-06 00:00", "2024-01-13 00:00",
                                                  "2024-01-20 00:00", "2024-01-27 00:00"}));
    EXPECT_EQ(Values(T, true).size(), 4u) << "one minor between majors";
}

TEST_F(AxisScaleDateTimeTicks, SpansBeyond32BitMillisecondsCountWhole) {
    // 2^32 + 5000 milliseconds: counted in 32 bits this would be 5 seconds.
    Axis(0, (4294967296.0 + 5000) / 86400000, 50);
    const std::vector<double> Majors = Values(Ticks(), false);
    ASSERT_GE(Majors.size(), 2u);
    EXPECT_DOUBLE_EQ(Majors[1] - Majors[0], 7);
}

TEST_F(AxisScaleDateTimeTicks, CalendarMonths) {
    Settings.Labels.DateTimeFormat = "yyyy-mm-dd";
    Axis(EncodeDate(2024, 1, 15), 365, 50);
    const TiPlotTicks T = Ticks();
    EXPECT_TRUE(T.MonthTicks);
    std::vector<double> Firsts;
    for (int M = 2; M <= 13; ++M)
        Firsts.push_back(EncodeDate(2024 + (M - 1) / 12, (M - 1) % 12 + 1, 1));
    EXPECT_EQ(Values(T, false), Firsts);
    EXPECT_TRUE(Values(T, true).empty());
    EXPECT_EQ(Texts(T).back(), "2025-01-01");
}

TEST_F(AxisScaleDateTimeTicks, DesiredStartKeepsTheDayOfTheMonth) {
    Settings.DesiredStart = EncodeDate(2024, 1, 15) + 0.5;
    Axis(EncodeDate(2024, 1, 10), 365, 50);
    const std::vector<std::string> Labels = Texts(Ticks());
    ASSERT_EQ(Labels.size(), 12u);
    EXPECT_EQ(Labels.front(), "2024-01-15 12:00");
    EXPECT_EQ(Labels[1], "2024-02-15 12:00");
    EXPECT_EQ(Labels.back(), "2024-12-15 12:00");
}

TEST_F(AxisScaleDateTimeTicks, CalendarYears) {
    Settings.Labels.DateTimeFormat = "yyyy";
    Axis(EncodeDate(2020, 3, 15), 3652.5, 50);
    const TiPlotTicks T = Ticks();
    EXPECT_TRUE(T.YearTicks);
    EXPECT_EQ(Texts(T), (std::vector<std::string>{"2021", "2022", "2023", "2024", "2025", "2026",
                                                  "2027", "2028", "2029", "2030"}));
    EXPECT_EQ(T.Scale.Span, 3652.5);
}

TEST_F(AxisScaleDateTimeTicks, LongSpansShowOneCentury) {
    Settings.Labels.DateTimeFormat = "yyyy";
    struct Case {
        double Span;
        int Pitch;
        std::size_t Majors;
    } Cases[] = {
        {1e6, 600, 2}, // a 2000-year increment would have no year to start from
        {2e6, 1, 101}, // millennia in minutes overflow 32 bits
        {1e300, 600, 2},
    };
    for (const Case& C : Cases) {
        Axis(0, C.Span, C.Pitch);
        const TiPlotTicks T = Ticks();
        EXPECT_TRUE(T.YearTicks) << C.Span;
        EXPECT_EQ(T.Scale.Span, 36525);
        EXPECT_EQ(T.Scale.Min, 0);
        EXPECT_EQ(Values(T, false).size(), C.Majors) << C.Span;
        EXPECT_EQ(Texts(T).front(), "1900");
    }
}

TEST_F(AxisScaleDateTimeTicks, CalendarLimitsMin) {
    Settings.Labels.DateTimeFormat = "yyyy";
    Axis(-1e6, 3652.5, 50);
    const TiPlotTicks T = Ticks();
    EXPECT_TRUE(T.YearTicks);
    EXPECT_EQ(T.Scale.Min, -182625);
    EXPECT_EQ(Texts(T).front(), "1400");
}

} // namespace
