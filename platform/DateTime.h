#pragma once
// Date-time values: days since 1899-12-30, the fraction being the time of day.
// A negative value counts days before that date; its fraction, taken
// positive, is still the time of day (-1.25 is 1899-12-29 06:00).

#include <string>

using TDateTime = double;

// The local date and time, its date part and its time part.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Raise EConvertError for a day or time that does not exist.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Value);

// d dd ddd dddd, m mm mmm mmmm (minutes right after an hour), yy yyyy,
// h hh, n nn, s ss, z zzz, am/pm a/p ampm (12-hour clock), and text in
// single or double quotes; letters in any case, other characters as they are.
std::string FormatDateTime(const std::string& Format, TDateTime Value);
