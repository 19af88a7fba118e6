#include "platform/DateTime.h"

#include "platform/Arith.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;
constexpr double MaxDays = 1e7;
// Days from 1899-12-30 to 1970-01-01.
constexpr std::int64_t UnixDateDelta = 25569;

const char* const ShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};
const char* const ShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[] = {"January",   "February", "March",    "April",
                                      "May",       "June",     "July",     "August",
                                      "September", "October",  "November", "December"};

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month) {
    static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

// Civil date to days since 1970-01-01 and back (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t Y, int M, int D) {
    Y -= M <= 2;
    std::int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
    std::int64_t YearOfEra = Y - Era * 400;
    std::int64_t DayOfYear = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    std::int64_t DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
    return Era * 146097 + DayOfEra - 719468;
}

void CivilFromDays(std::int64_t Z, int& Year, int& Month, int& Day) {
    Z += 719468;
    std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    std::int64_t DayOfEra = Z - Era * 146097;
    std::int64_t YearOfEra =
        (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    std::int64_t DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    std::int64_t MP = (5 * DayOfYear + 2) / 153;
    Day = int(DayOfYear - (153 * MP + 2) / 5 + 1);
    Month = int(MP < 10 ? MP + 3 : MP - 9);
    Year = int(YearOfEra + Era * 400 + (Month <= 2));
}

// The day number and the milliseconds of the day; a time that rounds up to
// midnight belongs to the next day.
void SplitDateTime(TDateTime Value, std::int64_t& Day, std::int64_t& MSec) {
    // Far beyond year 9999 either way there is no calendar date to give.
    if (!(std::fabs(Value) < MaxDays))
        throw EConvertError("'" + FloatToStr(Value) + "' is not a valid date and time");
    double WholeDays = std::trunc(Value);
    Day = std::int64_t(WholeDays);
    MSec = std::llround(std::fabs(Value - WholeDays) * MSecsPerDay);
    if (MSec >= MSecsPerDay) {
        MSec -= MSecsPerDay;
        Day += Value < 0 ? -1 : 1;
    }
}

struct TDateTimeParts {
    int Year, Month, Day, DayOfWeek, Hour, Min, Sec, MSec;
};

TDateTimeParts Parts(TDateTime Value) {
    std::int64_t Day, MSec;
    SplitDateTime(Value, Day, MSec);
    TDateTimeParts P{};
    CivilFromDays(Day - UnixDateDelta, P.Year, P.Month, P.Day);
    P.DayOfWeek = int(((Day + 6) % 7 + 7) % 7) + 1;
    P.Hour = int(MSec / 3600000);
    P.Min = int(MSec / 60000 % 60);
    P.Sec = int(MSec / 1000 % 60);
    P.MSec = int(MSec % 1000);
    return P;
}

bool StartsWithNoCase(const std::string& S, std::size_t At, const char* Prefix) {
    for (std::size_t K = 0; Prefix[K]; ++K)
        if (At + K >= S.size() || std::tolower((unsigned char)S[At + K]) != Prefix[K])
            return false;
    return true;
}

// The length of an am/pm specifier at At, or 0.
std::size_t AmPmLength(const std::string& S, std::size_t At) {
    if (StartsWithNoCase(S, At, "am/pm"))
        return 5;
    if (StartsWithNoCase(S, At, "ampm"))
        return 4;
    if (StartsWithNoCase(S, At, "a/p"))
        return 3;
    return 0;
}

bool HasAmPm(const std::string& Format) {
    char Quote = 0;
    for (std::size_t I = 0; I < Format.size(); ++I) {
        char C = Format[I];
        if (Quote)
            Quote = C == Quote ? 0 : Quote;
        else if (C == '\'' || C == '"')
            Quote = C;
        else if (AmPmLength(Format, I))
            return true;
    }
    return false;
}

// "am/pm" and "a/p" keep the letter case written in the format.
std::string AmPmText(const std::string& Format, std::size_t At, std::size_t Length, bool Pm) {
    if (Length == 4)
        return Pm ? "PM" : "AM";
    if (Length == 5)
        return Pm ? Format.substr(At + 3, 2) : Format.substr(At, 2);
    return Pm ? Format.substr(At + 2, 1) : Format.substr(At, 1);
}

} // namespace

TDateTime EncodeDate(int Year, int Month, int Day) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        throw EConvertError("Invalid argument to date encode");
    return TDateTime(DaysFromCivil(Year, Month, Day) + UnixDateDelta);
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / double(MSecsPerDay);
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
    TDateTimeParts P = Parts(Value);
    Year = P.Year;
    Month = P.Month;
    Day = P.Day;
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
    TDateTimeParts P = Parts(Value);
    Hour = P.Hour;
    Min = P.Min;
    Sec = P.Sec;
    MSec = P.MSec;
}

int DayOfWeek(TDateTime Value) {
    return Parts(Value).DayOfWeek;
}

TDateTime Now() {
    timespec Clock{};
    clock_gettime(CLOCK_REALTIME, &Clock);
    tm Local{};
    localtime_r(&Clock.tv_sec, &Local);
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday) +
           EncodeTime(Local.tm_hour, Local.tm_min, Local.tm_sec > 59 ? 59 : Local.tm_sec,
                      int(Clock.tv_nsec / 1000000));
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    return Frac(Now());
}

std::string FormatDateTime(const std::string& Format, TDateTime Value) {
    const TDateTimeParts P = Parts(Value);
    const bool TwelveHour = HasAmPm(Format);
    std::string Out;
    bool AfterHour = false; // an "m" right after an hour means minutes
    std::size_t I = 0;
    while (I < Format.size()) {
        const char C = Format[I];
        const char Lower = char(std::tolower((unsigned char)C));
        if (C == '\'' || C == '"') {
            std::size_t Close = Format.find(C, I + 1);
            if (Close == std::string::npos)
                Close = Format.size();
            Out += Format.substr(I + 1, Close - I - 1);
            I = Close + 1;
            continue;
        }
        if (std::size_t Length = AmPmLength(Format, I)) {
            Out += AmPmText(Format, I, Length, P.Hour >= 12);
            I += Length;
            AfterHour = false;
            continue;
        }
        if (std::string("dmyhnsz").find(Lower) == std::string::npos) {
            Out += C;
            ++I;
            continue;
        }
        std::size_t Count = 1;
        while (I + Count < Format.size() && std::tolower((unsigned char)Format[I + Count]) == Lower)
            ++Count;
        I += Count;
        const bool Two = Count >= 2;
        switch (Lower) {
        case 'd':
            Out += Count == 1   ? IntToStr(P.Day)
                   : Count == 2 ? FormatDecimal(P.Day, 2)
                   : Count == 3 ? ShortDayNames[P.DayOfWeek - 1]
                                : LongDayNames[P.DayOfWeek - 1];
            break;
        case 'm':
            if (AfterHour)
                Out += FormatDecimal(P.Min, Two ? 2 : 1);
            else
                Out += Count <= 2   ? FormatDecimal(P.Month, int(Count))
                       : Count == 3 ? ShortMonthNames[P.Month - 1]
                                    : LongMonthNames[P.Month - 1];
            break;
        case 'y':
            Out += Count <= 2 ? FormatDecimal(P.Year % 100, 2) : FormatDecimal(P.Year, 4);
            break;
        case 'h': {
            int Hour = TwelveHour ? (P.Hour % 12 == 0 ? 12 : P.Hour % 12) : P.Hour;
            Out += FormatDecimal(Hour, Two ? 2 : 1);
            break;
        }
        case 'n':
            Out += FormatDecimal(P.Min, Two ? 2 : 1);
            break;
        case 's':
            Out += FormatDecimal(P.Sec, Two ? 2 : 1);
            break;
        case 'z':
            Out += FormatDecimal(P.MSec, Two ? 3 : 1);
            break;
        }
        AfterHour = Lower == 'h';
    }
    return Out;
}
