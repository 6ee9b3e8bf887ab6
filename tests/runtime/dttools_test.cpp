#include "runtime/dttools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/exceptions.h"

namespace {

constexpr double kMs = 1.0 / 86400000.0;

TEST(TdtTools, DayNumbersOfKnownDates) {
    struct Case {
        int y, m, d;
        double day;
    } cases[] = {{1899, 12, 30, 0},     {1899, 12, 29, -1},      {1900, 1, 1, 2},
                 {2000, 1, 1, 36526},   {2024, 2, 29, 45351},    {2025, 3, 7, 45723},
                 {9999, 12, 31, 2958465}, {1, 1, 1, -693593}};
    for (const Case& c : cases) {
        EXPECT_EQ(TdtTools::EncodeDate(c.y, c.m, c.d), c.day) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        TdtTools::DecodeDate(c.day, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.day;
    }
    for (auto [y, m, d] : {std::tuple{2025, 2, 29}, {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31},
                           {0, 1, 1}, {10000, 1, 1}, {2024, 1, 0}})
        EXPECT_THROW(TdtTools::EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
    EXPECT_THROW(TdtTools::EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(TdtTools::EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(TdtTools::EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(TdtTools, FormatsAndMillisecondRounding) {
    const double day = 45723;  // 2025-03-07
    struct Case {
        double value;
        int format;
        const char* text;
    } cases[] = {
        {day + TdtTools::EncodeTime(8, 5, 9, 42), 1, "2025-03-07"},
        {day + TdtTools::EncodeTime(8, 5, 9, 42), 5, "08:05:09.042"},
        {day + TdtTools::EncodeTime(8, 5, 9, 42), 7, "2025-03-07 08:05:09"},
        {day + TdtTools::EncodeTime(8, 5, 9, 999), 13, "2025-03-07 08:05:09"},
        {day + TdtTools::EncodeTime(8, 5, 9, 42), 99, "2025-03-07 08:05:09"},
        {day + 0.75, 5, "18:00:00.000"},
        {day + 59.9996 / 86400.0, 5, "00:01:00.000"},
        {day + 1.0 - 0.4 * kMs, 13, "2025-03-08 00:00:00"},
        {day + 1.0 - 0.6 * kMs, 5, "23:59:59.999"},
        {-1.25, 13, "1899-12-29 06:00:00"},
        {0, 13, "1899-12-30 00:00:00"},
        // Values no calendar holds still give a text of the usual width.
        {1e300, 13, "0000-00-00 00:00:00"},
        {-1e300, 5, "00:00:00.000"},
        {std::nan(""), 1, "0000-00-00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TdtTools(c.value).ToString(c.format), c.text) << c.value << " format " << c.format;
    }
    EXPECT_EQ(DefaultDateTimeText(day + 0.5), "2025-03-07 12:00:00");
    EXPECT_EQ(TdtTools(day + 1.0 - 0.4 * kMs).Date(), day + 1);
    EXPECT_EQ(TdtTools(day + 0.75).Date(), day);
    EXPECT_EQ(TdtTools(day + 0.75).Hour(), 18);
}

TEST(TdtTools, FromStringReadsWhatToStringWrites) {
    for (int format : {1, 7, 13}) {
        for (double value : {45723.0, 45723.0 + TdtTools::EncodeTime(23, 59, 58, 0), 2.5}) {
            TdtTools t(value);
            TdtTools back;
            back.FromString(t.ToString(format), format);
            const double expected = format == 1 ? t.Date() : value;
            EXPECT_NEAR(back.Value(), expected, 0.5 * kMs) << t.ToString(format);
        }
    }
    TdtTools time;
    time.FromString("07:08:09.123", 5);
    EXPECT_EQ(time.ToString(5), "07:08:09.123");
}

TEST(TdtTools, FromStringAcceptsAndRejects) {
    struct Case {
        const char* text;
        int format;
        double value;
    } accepted[] = {
        {"", 13, 0},
        {"   ", 1, 0},
        {"2025-03-07", 13, 45723},
        {" 2025-03-07 ", 1, 45723},
        {"2025-3-7", 13, 45723},
        {"2025-03-07 12:00", 13, 45723.5},
        {"2025-03-07 18:00:00", 7, 45723.75},
        {"2025-03-07 06:00", 1, 45723.25},
        {"1899-12-29 06:00", 13, -1.25},
        {"12:00:00", 5, 0.5},
        {"06:00:00.5", 5, 0.25 + 500 * kMs},
        {"6:00:00", 5, 0.25},
    };
    for (const Case& c : accepted) {
        TdtTools t(99);
        t.FromString(c.text, c.format);
        EXPECT_NEAR(t.Value(), c.value, 0.01 * kMs) << c.text;
    }
    const std::pair<const char*, int> rejected[] = {
        {"2025-13-01", 13}, {"2025-02-29", 13},     {"abc", 1},
        {"2025-03-07x", 13}, {"2025-03-07 25:00", 13}, {"07-03-2025", 13},
        {"2025-03-07 12", 13}, {"2025-03-07 12:00:00.5", 13}, {"25:00:00", 5},
        {"12:60", 5},       {"2025-03-07", 5},      {"12:00:00.1234", 5},
        {"+2025-03-07", 1}, {"20250307", 1},     {"6:00", 5},
    };
    for (const auto& [text, format] : rejected) {
        TdtTools t;
        try {
            t.FromString(text, format);
            ADD_FAILURE() << "accepted " << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message().rfind(std::string("'") + text + "' is not a valid ", 0), 0u) << e.Message();
        }
    }
}

TEST(TdtTools, NowIsToday) {
    const double before = TdtTools::Now().Value();
    EXPECT_GT(before, 45000);  // after 2023
    EXPECT_LT(before, 2958466);
    // Within half a millisecond: the 32-bit x87 build may hold one of the two with more bits.
    EXPECT_GE(TdtTools::Now().Value(), before - 0.5 * kMs);
}

}  // namespace
