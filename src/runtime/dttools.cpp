#include "runtime/dttools.h"

#include <cmath>
#include <cstdio>

#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

constexpr long long kMsPerDay = 86400000LL;
// Day numbers of 0001-01-01 and 9999-12-31: the range of dates that can be shown.
constexpr double kMinDay = -693593.0;
constexpr double kMaxDay = 2958465.0;
// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = 25569;

// Days from 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// A date-time split into its day number and the milliseconds of that day, rounded to the
// millisecond (so 23:59:59.9996 becomes the next day's midnight, never 59.999). The time of a
// negative value counts forward from the start of its day, as the day-count convention has it.
struct Parts {
    long long day = 0;
    long long ms = 0;
    bool valid = false;
};

Parts Split(double value) {
    Parts p;
    if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1) return p;
    const double whole = std::trunc(value);
    p.day = static_cast<long long>(whole);
    p.ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
    if (p.ms >= kMsPerDay) {
        p.ms -= kMsPerDay;
        p.day += 1;  // midnight of the next calendar day
    }
    p.valid = p.day >= static_cast<long long>(kMinDay) && p.day <= static_cast<long long>(kMaxDay);
    return p;
}

[[noreturn]] void InvalidText(const std::string& text, int format) {
    const char* what = format == 5 ? "time" : "date and time";
    throw EConvertError(QuotedValue(text) + " is not a valid " + what);
}

// Reads 1..maxDigits decimal digits at text[pos].
bool ReadNumber(const std::string& text, std::size_t& pos, std::size_t minDigits,
                std::size_t maxDigits, int& value) {
    std::size_t n = 0;
    value = 0;
    while (pos < text.size() && n < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++n;
    }
    return n >= minDigits;
}

bool Expect(const std::string& text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool ValidTime(int h, int m, int s, int ms) {
    return h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000;
}

bool ValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// A time of day at pos: "H[H]:MM" with ":SS" optional (date-time texts) or required with an
// optional ".m[m[m]]" after it (time texts).
bool ParseTime(const std::string& text, std::size_t& pos, bool timeText, double& value) {
    const bool allowMs = timeText;
    int h = 0, m = 0, s = 0, ms = 0;
    if (!ReadNumber(text, pos, 1, 2, h) || !Expect(text, pos, ':') ||
        !ReadNumber(text, pos, 2, 2, m))
        return false;
    if (timeText && (pos >= text.size() || text[pos] != ':')) return false;
    if (Expect(text, pos, ':')) {
        if (!ReadNumber(text, pos, 2, 2, s)) return false;
        if (allowMs && Expect(text, pos, '.')) {
            const std::size_t start = pos;
            if (!ReadNumber(text, pos, 1, 3, ms)) return false;
            for (std::size_t digits = pos - start; digits < 3; ++digits) ms *= 10;
        }
    }
    if (!ValidTime(h, m, s, ms)) return false;
    value = TdtTools::EncodeTime(h, m, s, ms);
    return true;
}

std::string Trimmed(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

}  // namespace

TdtTools TdtTools::Now() {
    const platform::LocalTime t = platform::env().LocalNow();
    return TdtTools(EncodeDate(t.year, t.month, t.day) +
                    EncodeTime(t.hour, t.minute, t.second, t.millisecond));
}

double TdtTools::EncodeDate(int year, int month, int day) {
    if (!ValidDate(year, month, day)) throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month),
                                             static_cast<unsigned>(day)) +
                               kEpochOffset);
}

double TdtTools::EncodeTime(int hour, int minute, int second, int millisecond) {
    if (!ValidTime(hour, minute, second, millisecond))
        throw EConvertError("Invalid argument to time encode");
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

void TdtTools::DecodeDate(double value, int& year, int& month, int& day) {
    const Parts p = Split(value);
    if (!p.valid) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(p.day - kEpochOffset, year, month, day);
}

void TdtTools::DecodeTime(double value, int& hour, int& minute, int& second, int& millisecond) {
    const Parts p = Split(value);
    const long long ms = p.valid ? p.ms : 0;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

double TdtTools::Date() const {
    const Parts p = Split(value_);
    return p.valid ? static_cast<double>(p.day) : std::trunc(value_);
}

int TdtTools::Hour() const {
    int h, m, s, ms;
    DecodeTime(value_, h, m, s, ms);
    return h;
}

void TdtTools::FromString(const std::string& original, int format) {
    const std::string text = Trimmed(original);
    if (text.empty()) {
        value_ = 0;
        return;
    }
    std::size_t pos = 0;
    double value = 0;
    if (format == 5) {
        if (!ParseTime(text, pos, true, value) || pos != text.size()) InvalidText(original, format);
        value_ = value;
        return;
    }
    int y = 0, m = 0, d = 0;
    if (!ReadNumber(text, pos, 4, 4, y) || !Expect(text, pos, '-') ||
        !ReadNumber(text, pos, 1, 2, m) || !Expect(text, pos, '-') ||
        !ReadNumber(text, pos, 1, 2, d) || !ValidDate(y, m, d))
        InvalidText(original, format);
    value = EncodeDate(y, m, d);
    if (pos < text.size()) {
        if (text[pos] != ' ') InvalidText(original, format);
        while (pos < text.size() && text[pos] == ' ') ++pos;
        double time = 0;
        if (!ParseTime(text, pos, false, time) || pos != text.size()) InvalidText(original, format);
        // Before 1899-12-30 the day numbers are negative and the time counts away from zero.
        value = value < 0 ? value - time : value + time;
    }
    value_ = value;
}

std::string TdtTools::ToString(int format) const {
    const Parts p = Split(value_);
    int y = 0, mo = 0, d = 0;
    if (p.valid) CivilFromDays(p.day - kEpochOffset, y, mo, d);
    const long long ms = p.valid ? p.ms : 0;
    const int h = static_cast<int>(ms / 3600000), mi = static_cast<int>(ms / 60000 % 60),
              s = static_cast<int>(ms / 1000 % 60), milli = static_cast<int>(ms % 1000);
    char buffer[48];
    switch (format) {
        case 1: std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, mo, d); break;
        case 5: std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", h, mi, s, milli); break;
        default:
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
            break;
    }
    return buffer;
}

std::string DefaultDateTimeText(double value) { return TdtTools(value).ToString(13); }
