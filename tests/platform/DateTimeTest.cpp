#include "platform/DateTime.h"
#include "platform/Arith.h"
#include "platform/Exception.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

TEST(DateTime, EncodeDateCountsFrom18991230) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999 / 86400000.0);
}

TEST(DateTime, EncodeRejectsWhatDoesNotExist) {
    for (auto [Y, M, D] : {std::array{2001, 2, 29},
                           {1900, 2, 29},
                           {2024, 13, 1},
                           {2024, 4, 31},
                           {0, 1, 1},
                           {10000, 1, 1},
                           {2024, 1, 0}})
        EXPECT_THROW(EncodeDate(Y, M, D), EConvertError) << Y << "-" << M << "-" << D;
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
}

TEST(DateTime, DecodeRoundTrips) {
    for (int Year : {1, 1600, 1899, 1900, 1999, 2000, 2024, 2100, 9999})
        for (int Month : {1, 2, 3, 12})
            for (int Day : {1, 28}) {
                // Before 1899-12-30 the time of day is subtracted.
                TDateTime Date = EncodeDate(Year, Month, Day);
                int Y, M, D;
                DecodeDate(Date < 0 ? Date - 0.75 : Date + 0.75, Y, M, D);
                EXPECT_EQ(std::vector<int>({Y, M, D}), std::vector<int>({Year, Month, Day}));
            }
    int H, N, S, Z;
    DecodeTime(EncodeDate(2026, 12, 9) + EncodeTime(8, 5, 9, 123), H, N, S, Z);
    EXPECT_EQ(std::vector<int>({H, N, S, Z}), std::vector<int>({8, 5, 9, 123}));
}

TEST(DateTime, NegativeValuesKeepTheTimeOfDayPositive) {
    int Y, M, D, H, N, S, Z;
    DecodeDate(-1.25, Y, M, D);
    DecodeTime(-1.25, H, N, S, Z);
    EXPECT_EQ(std::vector<int>({Y, M, D, H}), std::vector<int>({1899, 12, 29, 6}));
}

TEST(DateTime, TimeRoundingUpToMidnightIsTheNextDay) {
    int Y, M, D, H, N, S, Z;
    TDateTime AlmostMidnight = EncodeDate(2024, 2, 28) + 0.9999999999;
    DecodeDate(AlmostMidnight, Y, M, D);
    DecodeTime(AlmostMidnight, H, N, S, Z);
    EXPECT_EQ(std::vector<int>({Y, M, D, H, N, S, Z}), std::vector<int>({2024, 2, 29, 0, 0, 0, 0}));
}

TEST(DateTime, ValuesWithoutADateFail) {
    int Y, M, D;
    for (double Value : {1e300, -1e300, 1e7, std::nan(""), HUGE_VAL})
        EXPECT_THROW(DecodeDate(Value, Y, M, D), EConvertError) << Value;
    EXPECT_THROW(FormatDateTime("hh:nn", 1e20), EConvertError);
    DecodeDate(2958465.5, Y, M, D); // the last day of 9999
    EXPECT_EQ(std::vector<int>({Y, M, D}), std::vector<int>({9999, 12, 31}));
}

TEST(DateTime, NowIsTodayAndConsistent) {
    TDateTime Before = Now();
    TDateTime Day = Date(), TimeOfDay = Time();
    TDateTime After = Now();
    EXPECT_GE(Day + TimeOfDay, std::floor(Before));
    EXPECT_LE(Day, After);
    EXPECT_GE(TimeOfDay, 0);
    EXPECT_LT(TimeOfDay, 1);
    EXPECT_GT(Before, EncodeDate(2020, 1, 1));
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 9)), 4);  // a Wednesday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 23)), 7);
}

TEST(DateTime, FormatDateTime) {
    // Wednesday 2026-03-04 08:05:09.007 and 15:45:30.250 the same day.
    const TDateTime Morning = EncodeDate(2026, 3, 4) + EncodeTime(8, 5, 9, 7);
    const TDateTime Afternoon = EncodeDate(2026, 3, 4) + EncodeTime(15, 45, 30, 250);
    struct TCase {
        const char* Format;
        TDateTime Value;
        const char* Text;
    };
    const TCase Cases[] = {
        {"hh:nn:ss", Morning, "08:05:09"},
        {"h:n:s", Morning, "8:5:9"},
        {"d dd ddd dddd", Morning, "4 04 Wed Wednesday"},
        {"m mm mmm mmmm", Morning, "3 03 Mar March"},
        {"yy yyyy", Morning, "26 2026"},
        {"z zzz", Morning, "7 007"},
        {"hh:mm", Morning, "08:05"},
        {"h:mm am/pm", Afternoon, "3:45 pm"},
        {"h AM/PM", Morning, "8 AM"},
        {"h a/p", Afternoon, "3 p"},
        {"hh ampm", Afternoon, "03 PM"},
        {"h ampm", EncodeDate(2026, 3, 4), "12 AM"},
        {"HH:NN:SS.ZZZ", Afternoon, "15:45:30.250"},
        {"'day' d \"of\" mmmm", Morning, "day 4 of March"},
        {"'h:mm' hh", Morning, "h:mm 08"},
        {"yyyy-mm-dd", Morning, "2026-03-04"},
        {"dd/mm/yy", Morning, "04/03/26"},
        {"'unclosed", Morning, "unclosed"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FormatDateTime(C.Format, C.Value), C.Text) << C.Format;
    TLocaleScope Comma(CommaLocale);
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", Afternoon), "15:45:30.250");
}

TEST(Arith, RoundsHalvesToEvenAndTruncates) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Round(0.4999999), 0);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Mod(-7, 2), -1);
}

} // namespace
