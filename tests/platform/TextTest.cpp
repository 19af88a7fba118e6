#include "platform/Text.h"
#include "platform/Exception.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Every text with a period is also checked under the comma locale, where
// the period reads as a comma.
std::string WithComma(std::string S) {
    for (char& C : S)
        if (C == '.')
            C = ',';
    return S;
}

struct TFormatCase {
    double Value;
    int Digits;
    const char* Text;
};

TEST(Text, FormatFixed) {
    const TFormatCase Cases[] = {
        {23.5, 1, "23.5"},     {24.1f, 1, "24.1"},  {-1.0, 1, "-1.0"}, {1234.0, 1, "1234.0"},
        {0.05, 1, "0.1"},      {2.6, 0, "3"},       {-0.04, 1, "0.0"}, {1e6, 2, "1000000.00"},
        {3.14159, 3, "3.142"}, {-7.25, 2, "-7.25"}, {5, -1, "5"},
    };
    for (const auto& C : Cases) {
        {
            TLocaleScope Period(PeriodLocale);
            EXPECT_EQ(FormatFixed(C.Value, C.Digits), C.Text) << C.Value;
        }
        TLocaleScope Comma(CommaLocale);
        ASSERT_EQ(DecimalSeparator(), ',') << "run scripts/install-deps for de_DE.UTF-8";
        EXPECT_EQ(FormatFixed(C.Value, C.Digits), WithComma(C.Text)) << C.Value;
    }
}

TEST(Text, FormatExponent) {
    const TFormatCase Cases[] = {
        {1234.5, 3, "1.23E+003"}, {-0.000123, 2, "-1.2E-004"}, {0, 3, "0.00E+000"},
        {1e200, 1, "1E+200"},     {9.99, 2, "1.0E+001"},       {5, 0, "5E+000"},
    };
    for (const auto& C : Cases) {
        {
            TLocaleScope Period(PeriodLocale);
            EXPECT_EQ(FormatExponent(C.Value, C.Digits), C.Text) << C.Value;
        }
        TLocaleScope Comma(CommaLocale);
        EXPECT_EQ(FormatExponent(C.Value, C.Digits), WithComma(C.Text)) << C.Value;
    }
}

TEST(Text, FloatToStr) {
    struct TCase {
        double Value;
        const char* Text;
    };
    const TCase Cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {24.1f, "24.1000003814697"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-1.5e-6, "-1.5E-6"},
        {1.0 / 3, "0.333333333333333"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::nan(""), "NAN"},
    };
    for (const auto& C : Cases) {
        {
            TLocaleScope Period(PeriodLocale);
            EXPECT_EQ(FloatToStr(C.Value), C.Text) << C.Value;
        }
        TLocaleScope Comma(CommaLocale);
        EXPECT_EQ(FloatToStr(C.Value), WithComma(C.Text)) << C.Value;
    }
}

TEST(Text, FormatDecimalPadsToDigits) {
    EXPECT_EQ(FormatDecimal(5, 2), "05");
    EXPECT_EQ(FormatDecimal(23, 2), "23");
    EXPECT_EQ(FormatDecimal(123, 2), "123");
    EXPECT_EQ(FormatDecimal(-5, 3), "-005");
}

TEST(Text, StrToFloatReadsNumbers) {
    struct TCase {
        const char* Text;
        double Value;
    };
    const TCase Cases[] = {
        {"23.5", 23.5}, {" -7.25 ", -7.25}, {"+3", 3},         {".5", 0.5},
        {"5.", 5},      {"1e3", 1000},      {"2.5E-2", 0.025}, {"1e-400", 0},
    };
    for (const auto& C : Cases) {
        {
            TLocaleScope Period(PeriodLocale);
            EXPECT_DOUBLE_EQ(StrToFloat(C.Text), C.Value) << C.Text;
        }
        TLocaleScope Comma(CommaLocale);
        EXPECT_DOUBLE_EQ(StrToFloat(WithComma(C.Text)), C.Value) << C.Text;
        // A period still reads as the separator under a comma locale.
        EXPECT_DOUBLE_EQ(StrToFloat(C.Text), C.Value) << C.Text;
    }
}

TEST(Text, StrToFloatRejectsOtherText) {
    TLocaleScope Period(PeriodLocale);
    for (const char* Text : {"", " ", "abc", "23.5,24.1", "1,5", "1e", "1e+", "--1", "1.2.3",
                             "0x10", "inf", "nan", "1e400", "12abc", "."}) {
        double Value = 42;
        EXPECT_FALSE(TryStrToFloat(Text, Value)) << Text;
        EXPECT_EQ(Value, 42) << "a failed conversion leaves the value";
        try {
            StrToFloat(Text);
            ADD_FAILURE() << Text;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(),
                      std::string("'") + Text + "' is not a valid floating point value");
        }
    }
}

TEST(Text, StrToFloatKeepsZeroBytesOut) {
    double Value;
    EXPECT_FALSE(TryStrToFloat(std::string("1\0"
                                           "2",
                                           3),
                               Value));
}

} // namespace
