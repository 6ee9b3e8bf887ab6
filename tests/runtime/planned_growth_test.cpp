#include "runtime/planned_growth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text is what plain appends give, and it moves only a few times while it grows,
// whether the pieces keep their size, grow past the early average or outnumber the total.
TEST(AppendPlanned, SameTextWithFewMoves) {
    const struct {
        const char* name;
        std::size_t total;  // pieces announced
        std::size_t pieces;  // pieces appended
        std::size_t (*length)(std::size_t);
        int maxMoves;
    } cases[] = {
        {"even pieces", 20000, 20000, [](std::size_t) -> std::size_t { return 130; }, 2},
        {"pieces growing past the average", 20000, 20000,
         [](std::size_t i) -> std::size_t { return 10 + i / 40; }, 12},
        {"more pieces than announced", 100, 5000,
         [](std::size_t i) -> std::size_t { return 1 + i % 7; }, 40},
        {"some pieces empty", 20000, 20000,
         [](std::size_t i) -> std::size_t { return i % 3 == 0 ? 0 : 60; }, 3},
    };
    for (const auto& c : cases) {
        std::string planned, plain;
        int moves = 0;
        for (std::size_t i = 0; i < c.pieces; ++i) {
            const std::string piece(c.length(i), static_cast<char>('a' + i % 26));
            const char* before = planned.data();
            AppendPlanned(planned, piece, i + 1, c.total);
            if (planned.data() != before) ++moves;
            plain += piece;
        }
        EXPECT_TRUE(planned == plain) << c.name;
        EXPECT_LE(moves, c.maxMoves) << c.name;
    }
}

}  // namespace
