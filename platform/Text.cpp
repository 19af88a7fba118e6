#include "platform/Text.h"

#include "platform/Exception.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <string_view>
#include <system_error>

namespace {

struct TSeparators {
    char Decimal = '.';
    char Thousand = ',';
};

// A separator that is not one printable character gives way to Usual.
char SingleCharacter(const char* Text, char Usual) {
    return Text && Text[0] > ' ' && Text[0] < 127 && !Text[1] ? Text[0] : Usual;
}

TSeparators LocaleSeparators() {
    TSeparators Separators;
    locale_t Locale = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
    if (!Locale) // the environment names a locale that is not installed
        return Separators;
    Separators.Decimal = SingleCharacter(nl_langinfo_l(RADIXCHAR, Locale), '.');
    // No thousands separator, or the decimal one, gives way to the usual.
    const char Usual = Separators.Decimal == ',' ? '.' : ',';
    Separators.Thousand = SingleCharacter(nl_langinfo_l(THOUSEP, Locale), Usual);
    if (Separators.Thousand == Separators.Decimal)
        Separators.Thousand = Usual;
    freelocale(Locale);
    return Separators;
}

TSeparators& CachedSeparators() {
    static TSeparators Separators = LocaleSeparators();
    return Separators;
}

std::string LocalisedSeparator(std::string S) {
    char Separator = DecimalSeparator();
    if (Separator != '.')
        for (char& C : S)
            if (C == '.')
                C = Separator;
    return S;
}

// NAN, INF and -INF, the forms every formatting routine gives non-finite values.
bool NonFinite(double V, std::string& Text) {
    if (std::isnan(V))
        Text = "NAN";
    else if (std::isinf(V))
        Text = V < 0 ? "-INF" : "INF";
    else
        return false;
    return true;
}

bool AllZeroDigits(std::string_view S) {
    for (char C : S)
        if (C >= '1' && C <= '9')
            return false;
    return true;
}

// Scientific digits of V with Significant digits: the mantissa digits
// without point, and the decimal exponent of the first digit.
void ScientificDigits(double V, int Significant, std::string& Digits, int& Exponent) {
    char Buffer[64];
    auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, std::fabs(V),
                                std::chars_format::scientific, Significant - 1);
    std::string_view Text(Buffer, Result.ptr - Buffer);
    std::size_t E = Text.find('e');
    Digits.clear();
    for (char C : Text.substr(0, E))
        if (C != '.')
            Digits += C;
    std::from_chars(Text.data() + E + 1 + (Text[E + 1] == '+'), Text.data() + Text.size(),
                    Exponent);
}

// Digits with the user's separator after the first IntegerDigits of them,
// when more follow.
std::string WithSeparator(const std::string& Digits, std::size_t IntegerDigits) {
    std::string Text = Digits.substr(0, IntegerDigits);
    if (Digits.size() > IntegerDigits) {
        Text.push_back(DecimalSeparator());
        Text.append(Digits, IntegerDigits, std::string::npos);
    }
    return Text;
}

} // namespace

char DecimalSeparator() {
    return CachedSeparators().Decimal;
}

char ThousandSeparator() {
    return CachedSeparators().Thousand;
}

void ReadLocaleSettings() {
    CachedSeparators() = LocaleSeparators();
}

std::string IntToStr(long long V) {
    return std::to_string(V);
}

std::string FormatDecimal(long long V, int Digits) {
    std::string Magnitude = std::to_string(V < 0 ? -(unsigned long long)V : (unsigned long long)V);
    if (int(Magnitude.size()) < Digits)
        Magnitude.insert(0, Digits - Magnitude.size(), '0');
    return V < 0 ? "-" + Magnitude : Magnitude;
}

std::string FormatFixed(double V, int Decimals) {
    std::string Text;
    if (NonFinite(V, Text))
        return Text;
    Decimals = Decimals < 0 ? 0 : Decimals > 18 ? 18 : Decimals;
    char Buffer[400];
    auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, std::fabs(V),
                                std::chars_format::fixed, Decimals);
    Text.assign(Buffer, Result.ptr);
    // A negative value that rounds to zero shows as zero, not "-0.0".
    if (std::signbit(V) && !AllZeroDigits(Text))
        Text.insert(0, 1, '-');
    return LocalisedSeparator(Text);
}

std::string FormatExponent(double V, int Precision) {
    std::string Text;
    if (NonFinite(V, Text))
        return Text;
    Precision = Precision < 1 ? 1 : Precision > 18 ? 18 : Precision;
    std::string Digits;
    int Exponent = 0;
    ScientificDigits(V, Precision, Digits, Exponent);
    if (std::signbit(V) && !AllZeroDigits(Digits))
        Text.push_back('-');
    Text += WithSeparator(Digits, 1);
    Text += Exponent < 0 ? "E-" : "E+";
    Text += FormatDecimal(std::abs(Exponent), 3);
    return Text;
}

std::string FloatToStr(double V) {
    std::string Text;
    if (NonFinite(V, Text))
        return Text;
    if (V == 0)
        return "0";
    std::string Digits;
    int Exponent = 0; // V = d.ddd x 10^Exponent
    ScientificDigits(V, 15, Digits, Exponent);
    while (Digits.size() > 1 && Digits.back() == '0')
        Digits.pop_back();
    if (V < 0)
        Text.push_back('-');
    int Count = int(Digits.size());
    // Fixed notation from 1E-4 up to 15 integer digits.
    if (Exponent >= 15 || Exponent < -4) {
        Text += WithSeparator(Digits, 1);
        Text += 'E';
        Text += IntToStr(Exponent);
    } else if (Exponent < 0) {
        Text += WithSeparator(std::string(-Exponent, '0') + Digits, 1);
    } else if (Count <= Exponent + 1) {
        Text += Digits;
        Text.append(Exponent + 1 - Count, '0');
    } else {
        Text += WithSeparator(Digits, Exponent + 1);
    }
    return Text;
}

bool TryStrToFloat(const std::string& S, double& Value) {
    const char Separator = DecimalSeparator();
    std::size_t I = 0, N = S.size();
    auto Blank = [&](std::size_t K) { return K < N && std::isspace((unsigned char)S[K]); };
    auto Digit = [&](std::size_t K) { return K < N && std::isdigit((unsigned char)S[K]); };
    while (Blank(I))
        ++I;
    std::string Plain; // the number in the C form from_chars reads
    if (I < N && (S[I] == '+' || S[I] == '-')) {
        if (S[I] == '-')
            Plain += '-';
        ++I;
    }
    std::size_t MantissaDigits = 0;
    for (; Digit(I); ++I, ++MantissaDigits)
        Plain += S[I];
    if (I < N && (S[I] == Separator || S[I] == '.')) {
        Plain += '.';
        for (++I; Digit(I); ++I, ++MantissaDigits)
            Plain += S[I];
    }
    if (MantissaDigits == 0)
        return false;
    if (I < N && (S[I] == 'e' || S[I] == 'E')) {
        Plain += 'e';
        ++I;
        if (I < N && (S[I] == '+' || S[I] == '-'))
            Plain += S[I++];
        if (!Digit(I))
            return false;
        for (; Digit(I); ++I)
            Plain += S[I];
    }
    while (Blank(I))
        ++I;
    if (I != N)
        return false;
    double Result = 0;
    auto [End, Error] = std::from_chars(Plain.data(), Plain.data() + Plain.size(), Result);
    if (Error == std::errc::result_out_of_range) {
        // Too small is zero; too large is no value a double can hold.
        static locale_t CLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
        Result = strtod_l(Plain.c_str(), nullptr, CLocale);
        if (std::isinf(Result))
            return false;
    } else if (Error != std::errc() || End != Plain.data() + Plain.size()) {
        return false;
    }
    Value = Result;
    return true;
}

double StrToFloat(const std::string& S) {
    double Value = 0;
    if (!TryStrToFloat(S, Value))
        throw EConvertError("'" + S + "' is not a valid floating point value");
    return Value;
}

std::string Trim(const std::string& S) {
    std::size_t Begin = 0, End = S.size();
    while (Begin < End && static_cast<unsigned char>(S[Begin]) <= ' ')
        ++Begin;
    while (End > Begin && static_cast<unsigned char>(S[End - 1]) <= ' ')
        --End;
    return S.substr(Begin, End - Begin);
}

std::string UpperCase(std::string S) {
    for (char& C : S)
        if (C >= 'a' && C <= 'z')
            C = char(C - 'a' + 'A');
    return S;
}

std::vector<std::string_view> SplitLines(std::string_view Text) {
    std::vector<std::string_view> Lines;
    std::size_t Begin = 0;
    while (Begin < Text.size()) {
        std::size_t End = Text.find_first_of("\r\n", Begin);
        if (End == std::string_view::npos)
            End = Text.size();
        Lines.push_back(Text.substr(Begin, End - Begin));
        Begin = End + (Text.substr(End, 2) == "\r\n" ? 2 : 1);
    }
    return Lines;
}
