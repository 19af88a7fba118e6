#pragma once
// Number text in the user's regional format: the decimal separator comes
// from LC_NUMERIC of the environment (LC_ALL and LANG taking part as usual).

#include <string>
#include <string_view>
#include <vector>

// The user's decimal separator, read once from the environment.
char DecimalSeparator();
// The user's thousands separator; when the regional settings have none, or
// it is the decimal separator, "," (or "." beside a decimal comma).
char ThousandSeparator();
// Reads the regional settings from the environment again (after the
// environment changed).
void ReadLocaleSettings();

std::string IntToStr(long long V);
// "%.nd": at least Digits digits, zero-padded, minus sign in front.
std::string FormatDecimal(long long V, int Digits);
// "%.nf": exactly Decimals digits after the separator, no thousands separator.
std::string FormatFixed(double V, int Decimals);
// "%.ne": Precision significant digits, then "E", a sign and at least three
// exponent digits, as in 1.23E+003.
std::string FormatExponent(double V, int Precision);
// The shortest general form with at most 15 significant digits: fixed
// notation from 0.0001 up to 15 integer digits, else 1E20 or 1.5E-6.
std::string FloatToStr(double V);

// Accepts optional blanks, a sign, digits with the user's separator (or a
// period), and an exponent; anything else raises EConvertError naming the text.
double StrToFloat(const std::string& S);
bool TryStrToFloat(const std::string& S, double& Value);

// Without the blanks and control characters at both ends.
std::string Trim(const std::string& S);
// Letters a to z in upper case; other characters as they are.
std::string UpperCase(std::string S);

// The lines of a text, each ended by CR LF, LF or CR (the last maybe by the
// end); views into Text.
std::vector<std::string_view> SplitLines(std::string_view Text);
