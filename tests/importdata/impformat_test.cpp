// Amount texts of the import file: the whole-number shortcut prints what "%.0Lf" prints.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "importdata/impformat.h"

namespace {

std::string Printf(long double value) {
    char text[8192];
    std::snprintf(text, sizeof text, "%.0Lf", value);
    return text;
}

TEST(AmountTextTest, SameAsPrintf) {
    const long double values[] = {0.0L, -0.0L, 1, -1, 0.5L, 1.5L, 2.5L, -2.5L, 0.49L, 1234.6L,
                                  -1234.6L, 8999999999999999999.0L, -8999999999999999999.0L,
                                  9.0e18L, -9.0e18L, 9.3e18L, 1e20L, -1e25L, 123456789012.0L,
                                  std::numeric_limits<long double>::max(),
                                  std::numeric_limits<long double>::infinity(),
                                  std::numeric_limits<long double>::quiet_NaN()};
    for (long double v : values) {
        EXPECT_EQ(impformat::Amount(v), Printf(v)) << static_cast<double>(v);
    }
    EXPECT_EQ(impformat::Amount(-42), "-42");
    EXPECT_GT(impformat::Amount(std::numeric_limits<long double>::max()).size(), 4000u);
}

}  // namespace
