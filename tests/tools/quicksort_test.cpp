// TLQuickSort over a vector of ints: the sort's exact exchanges and progress calls, its result
// against std::sort, and the two binary searches.
#include "tools/quicksort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Elements are read with at() so that an index outside the collection fails the test.
class IntSort : public TLQuickSort {
public:
    explicit IntSort(std::vector<int> values) : v(std::move(values)) {}

    int SortCompare(int i, int j) override { return Cmp(v.at(i), v.at(j)); }
    int ExChange(int i, int j) override {
        exchanges.emplace_back(i, j);
        std::swap(v.at(i), v.at(j));
        return 0;
    }
    int FindCompare(int i) override {
        findCompares.push_back(i);
        return Cmp(key, v.at(i));
    }
    void SetNumDone(int n) override { done.push_back(n); }

    static int Cmp(int a, int b) { return a < b ? -1 : a > b ? 1 : 0; }

    std::vector<int> v;
    int key = 0;
    std::vector<std::pair<int, int>> exchanges;
    std::vector<int> findCompares;
    std::vector<int> done;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST(QuickSort, NewObjectIsUnsortedWithInsertPlaceZero) {
    TLQuickSort base;
    EXPECT_FALSE(base.Sorted);
    EXPECT_EQ(base.InsertPlace, 0);
}

TEST(QuickSort, SortFollowsItsPivotAndReportsEachSubRange) {
    struct Case {
        std::vector<int> in;
        std::vector<int> out;
        Pairs exchanges;
        std::vector<int> done;
    };
    const Case cases[] = {
        // One element: exchanged with itself once, one progress call.
        {{5}, {5}, {{0, 0}}, {0}},
        {{2, 1}, {1, 2}, {{0, 1}}, {1}},
        {{3, 1, 2}, {1, 2, 3}, {{0, 1}, {1, 2}}, {2, 2}},
        // The pivot moves from index 1 to 3 with the first exchange; a sort that kept
        // comparing against index 1 would exchange (2, 2) and (0, 1) next.
        {{0, 1, 0, 0}, {0, 0, 0, 1}, {{1, 3}, {0, 2}, {1, 1}}, {2, 3}},
        {{4, 1, 3, 1, 5, 2}, {1, 1, 2, 3, 4, 5}, {{0, 5}, {2, 3}, {0, 2}, {1, 1}, {4, 5}, {3, 3}},
         {2, 4, 5, 5}},
        {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}, {{3, 3}, {1, 1}, {5, 5}}, {2, 6, 6}},
    };
    for (const Case& c : cases) {
        IntSort s(c.in);
        EXPECT_EQ(s.Sort(0, static_cast<int>(c.in.size()) - 1), 0);
        EXPECT_EQ(s.v, c.out);
        EXPECT_EQ(s.exchanges, c.exchanges) << "input size " << c.in.size();
        EXPECT_EQ(s.done, c.done) << "input size " << c.in.size();
        EXPECT_FALSE(s.Sorted);  // only the searches set it
    }
}

TEST(QuickSort, SortAgreesWithStdSortOnManyInputs) {
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + static_cast<int>(next() % 40);
        const int range = 1 + static_cast<int>(next() % 12);  // small ranges give many equals
        std::vector<int> values;
        for (int k = 0; k < n; ++k) values.push_back(static_cast<int>(next()) % range);
        IntSort s(values);
        s.Sort(0, n - 1);
        std::sort(values.begin(), values.end());
        ASSERT_EQ(s.v, values) << "round " << round;
    }
}

TEST(QuickSort, SortOfASubRangeLeavesTheRestAlone) {
    IntSort s({9, 5, 4, 3, 0});
    s.Sort(1, 3);
    EXPECT_EQ(s.v, (std::vector<int>{9, 3, 4, 5, 0}));
}

TEST(QuickSort, LargeOrderedAndReversedInputs) {
    const int n = 200000;
    std::vector<int> up(n), down(n), flat(n, 7);
    for (int k = 0; k < n; ++k) up[k] = k, down[k] = n - k;
    for (const auto& values : {up, down, flat}) {
        IntSort s(values);
        s.Sort(0, n - 1);
        EXPECT_TRUE(std::is_sorted(s.v.begin(), s.v.end()));
    }
}

TEST(QuickSort, FindBisectsAndLeavesTheInsertPlace) {
    struct Case {
        int key;
        int result;
        std::vector<int> compares;
        int insertPlace;  // checked when the key is absent
    };
    const Case cases[] = {
        {40, 3, {2, 3}, 0},     // compares element 2, then 3
        {10, 0, {2, 0}, 0},
        {50, 4, {2, 3, 4}, 0},
        {25, -1, {2, 0, 1}, 2},
        {5, -1, {2, 0}, 0},
        {55, -1, {2, 3, 4}, 5},
    };
    for (const Case& c : cases) {
        IntSort s({10, 20, 30, 40, 50});
        s.Sorted = true;
        s.key = c.key;
        EXPECT_EQ(s.Find(0, 4), c.result) << "key " << c.key;
        EXPECT_EQ(s.findCompares, c.compares) << "key " << c.key;
        if (c.result < 0) {
            EXPECT_EQ(s.InsertPlace, c.insertPlace) << "key " << c.key;
        }
        EXPECT_TRUE(s.exchanges.empty());  // a sorted object is not sorted again
    }
}

TEST(QuickSort, FindWithAnEmptyRangeAnswersAtOnce) {
    IntSort s({10, 20});
    s.Sorted = true;
    s.key = 10;
    EXPECT_EQ(s.Find(1, 0), -1);
    EXPECT_EQ(s.InsertPlace, 1);
    EXPECT_TRUE(s.findCompares.empty());
}

TEST(QuickSort, SearchesSortAnUnsortedObjectFirst) {
    IntSort s({30, 10, 20});
    s.key = 20;
    EXPECT_EQ(s.Find(0, 2), 1);
    EXPECT_TRUE(s.Sorted);
    EXPECT_EQ(s.v, (std::vector<int>{10, 20, 30}));

    IntSort t({30, 10, 20});
    t.key = 25;
    EXPECT_EQ(t.FindInsertPlace(0, 2), 2);
    EXPECT_TRUE(t.Sorted);
    EXPECT_EQ(t.v, (std::vector<int>{10, 20, 30}));
}

TEST(QuickSort, FindInsertPlace) {
    struct Case {
        int key;
        int result;
    };
    const Case cases[] = {
        {20, -1}, {10, -1}, {50, -1},  // present
        {5, 0},                        // below every element
        {60, 5},                       // above every element: r + 1
        {15, 1}, {35, 3}, {45, 4},
    };
    for (const Case& c : cases) {
        IntSort s({10, 20, 30, 40, 50});
        s.Sorted = true;
        s.key = c.key;
        EXPECT_EQ(s.FindInsertPlace(0, 4), c.result) << "key " << c.key;
    }
}

TEST(QuickSort, FindInsertPlaceOnASingleElement) {
    const std::pair<int, int> cases[] = {{5, 0}, {10, -1}, {15, 1}};
    for (auto [key, result] : cases) {
        IntSort s({10});
        s.key = key;
        EXPECT_EQ(s.FindInsertPlace(0, 0), result) << "key " << key;
    }
}

TEST(QuickSort, EmptyRangesTouchNoElement) {
    IntSort s({});
    EXPECT_EQ(s.Sort(0, -1), 0);
    EXPECT_TRUE(s.done.empty());
    EXPECT_EQ(s.Find(0, -1), -1);
    EXPECT_EQ(s.InsertPlace, 0);
    EXPECT_EQ(s.FindInsertPlace(0, -1), 0);
}

}  // namespace
