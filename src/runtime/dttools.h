// TdtTools: date-times as day counts since 1899-12-30, the time as the fraction.
// Numbered text formats:
//   1  YYYY-MM-DD
//   5  HH:MM:SS.mmm            (always twelve characters)
//   7  YYYY-MM-DD HH:MM:SS
//   13 YYYY-MM-DD HH:MM:SS
// The system's default short-date + long-time text is "YYYY-MM-DD HH:MM:SS" as well.
#pragma once

#include <string>

#include "runtime/api.h"

class SKALNIX_FRAMEWORK_API TdtTools {
public:
    explicit TdtTools(double value = 0.0) : value_(value) {}
    static TdtTools Now();
    static double EncodeDate(int year, int month, int day);
    static double EncodeTime(int hour, int minute, int second, int millisecond);
    static void DecodeDate(double value, int& year, int& month, int& day);
    static void DecodeTime(double value, int& hour, int& minute, int& second, int& millisecond);

    double Value() const { return value_; }
    void SetValue(double value) { value_ = value; }
    double Date() const;  // the date part (time of day removed)
    int Hour() const;

    // Parses a text in the given format. Accepted for 1, 7 and 13: "YYYY-MM-DD", optionally
    // followed by " HH:MM" or " HH:MM:SS"; for 5 "HH:MM:SS[.mmm]". Month, day and hour may have
    // one digit, milliseconds one to three; blanks around the text are ignored and an empty (or
    // blank) text gives 0. Anything else throws EConvertError.
    void FromString(const std::string& text, int format);
    // Formats in one of the numbered formats (any other number gives format 13).
    std::string ToString(int format) const;

private:
    double value_;
};

// The current date and time in the system's default short-date and long-time text form.
std::string DefaultDateTimeText(double value);
