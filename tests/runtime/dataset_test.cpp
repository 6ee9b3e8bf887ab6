#include "runtime/dataset.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/exceptions.h"

namespace {

class DataSetTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ds.AddField("name", ftString), 0);
        ASSERT_EQ(ds.AddField("count", ftInteger), 1);
        ASSERT_EQ(ds.AddField("price", ftExtended), 2);
        ASSERT_EQ(ds.AddField("when", ftDateTime), 3);
        ds.Open();
    }
    std::vector<int> Counts() {
        std::vector<int> v;
        for (ds.First(); !ds.Eof(); ds.Next()) v.push_back(ds.FieldByName("count").AsInteger());
        return v;
    }
    TMDataSet ds;
};

TEST_F(DataSetTest, TypedCellsStartEmptyAndKeepValues) {
    EXPECT_EQ(ds.FieldIndex("price"), 2);
    EXPECT_EQ(ds.FieldIndex("Price"), -1);
    EXPECT_EQ(ds.FieldType(3), ftDateTime);
    EXPECT_EQ(ds.Append(), 0);
    EXPECT_EQ(ds.GetPosition(), 0);
    EXPECT_EQ(ds.GetText(0, 0), "");
    EXPECT_EQ(ds.GetInt(0, 1), 0);
    EXPECT_EQ(ds.GetExtended(0, 2), 0.0L);
    EXPECT_EQ(ds.GetDateTime(0, 3), 0.0);

    ds.FieldByName("name").SetAsString(std::string("Mas\xB3o\0x", 8));
    ds.GetFields(1).SetAsInteger(-2147483647 - 1);
    ds.FieldByName("price").SetAsExtended(12345678901234.5L);
    ds.FieldByName("when").SetAsDateTime(45723.5);
    EXPECT_EQ(ds.FieldByName("name").AsString(), std::string("Mas\xB3o\0x", 8));
    EXPECT_EQ(ds.GetInt(0, 1), -2147483647 - 1);
    EXPECT_EQ(ds.GetFields(2).AsExtended(), 12345678901234.5L);
    EXPECT_EQ(ds.GetFields(3).AsDateTime(), 45723.5);
}

TEST_F(DataSetTest, InsertAndDeleteKeepRowOrder) {
    for (int i = 0; i < 5; ++i) {
        ds.Append();
        ds.SetInt(i, 1, i);
        ds.SetText(i, 0, std::to_string(i));
    }
    ds.Insert(2);
    EXPECT_EQ(ds.GetPosition(), 2);  // the new row is current
    ds.FieldByName("count").SetAsInteger(20);
    ds.Insert(6);  // at the end
    ds.GetFields(1).SetAsInteger(60);
    ds.Delete(0);
    EXPECT_EQ(Counts(), (std::vector<int>{1, 20, 2, 3, 4, 60}));
    EXPECT_EQ(ds.GetText(2, 0), "2");
    EXPECT_EQ(ds.GetText(1, 0), "");
    ds.Delete(ds.GetCount() - 1);
    EXPECT_EQ(Counts(), (std::vector<int>{1, 20, 2, 3, 4}));
    ds.Clear();
    EXPECT_EQ(ds.GetCount(), 0);
    EXPECT_EQ(ds.FieldCount(), 4);
    EXPECT_TRUE(ds.Eof());
}

// Overwrites leave garbage in the text pool until it is compacted; values must survive both.
TEST_F(DataSetTest, TextOverwritesAndCompactionKeepValues) {
    const int rows = 200;
    auto text = [](int row, int round) {
        return std::string(static_cast<std::size_t>((row * 7 + round) % 40), static_cast<char>('a' + round % 26)) +
               std::to_string(row);
    };
    for (int r = 0; r < rows; ++r) ds.Append();
    for (int round = 0; round < 30; ++round) {
        for (int r = 0; r < ds.GetCount(); ++r) ds.SetText(r, 0, text(r, round));
        if (round % 7 == 3) ds.Delete(rows / 2 + round);  // deletions add garbage too
    }
    ASSERT_EQ(ds.GetCount(), rows - 4);
    for (int r = 0; r < ds.GetCount(); ++r) EXPECT_EQ(ds.GetText(r, 0), text(r, 29)) << r;
}

// Rows reserved ahead and filled one by one, with texts that start short and grow long, so the
// pool is sized from early averages that turn out too small.
TEST_F(DataSetTest, ReservedRowsWithGrowingTextsKeepValues) {
    const int rows = 5000;
    auto text = [](int row) {
        return std::string(static_cast<std::size_t>(row / 50), 'x') + std::to_string(row);
    };
    ds.Reserve(rows);
    for (int r = 0; r < rows; ++r) {
        ds.Append();
        ds.SetText(r, 0, text(r));
        ds.SetText(r, 0, text(r));  // writing the same text again changes nothing
    }
    for (int r = 0; r < rows; ++r) ASSERT_EQ(ds.GetText(r, 0), text(r)) << r;
}

// A value viewed from the dataset itself can be written back while the pool grows.
TEST_F(DataSetTest, SetTextFromItsOwnView) {
    ds.Append();
    ds.SetText(0, 0, std::string(100, 'q'));
    for (int i = 1; i < 300; ++i) {
        ds.Append();
        ds.SetText(i, 0, ds.TextView(i - 1, 0));
    }
    EXPECT_EQ(ds.GetText(299, 0), std::string(100, 'q'));
    ds.SetText(0, 0, ds.TextView(0, 0).substr(10, 5));
    EXPECT_EQ(ds.GetText(0, 0), "qqqqq");
}

// Columns that hold one value in every row are stored as that value until a row differs,
// appended rows cost nothing until written, integers widen from one byte as values need, and
// extended numbers leave four bytes for a long double at the first value that is not whole or
// does not fit 32 bits. A fixed-seed run of appends, inserts, deletes and writes, mostly of a
// few repeated values, is checked cell by cell against plain vectors.
TEST_F(DataSetTest, RepeatedValuesSurviveEveryRowOperation) {
    struct Row {
        std::string name;
        int count = 0;
        long double price = 0;
        double when = 0;
    };
    std::vector<Row> model;
    std::uint64_t state = 12345;
    auto next = [&state](int n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
    };
    const std::vector<std::string> names = {"", "", "x", "long text of a goods", "x"};
    const std::vector<long double> prices = {0.0L,        -0.0L,         1.5L,  0.0L,
                                             1724.0L,     -3.0L,         0.0L,  2147483647.0L,
                                             -2147483648.0L, 2147483648.0L, 1e30L, 0.0L};
    auto check = [&](int step) {
        ASSERT_EQ(ds.GetCount(), static_cast<int>(model.size())) << step;
        for (int r = 0; r < ds.GetCount(); ++r) {
            const Row& m = model[static_cast<std::size_t>(r)];
            ASSERT_EQ(ds.GetText(r, 0), m.name) << "step " << step << " row " << r;
            ASSERT_EQ(ds.GetInt(r, 1), m.count) << "step " << step << " row " << r;
            ASSERT_EQ(ds.GetExtended(r, 2), m.price) << "step " << step << " row " << r;
            // A negative zero stays negative: records print its sign.
            ASSERT_EQ(std::signbit(ds.GetExtended(r, 2)), std::signbit(m.price))
                << "step " << step << " row " << r;
            // A cell given as a whole number is that number, never a negative zero.
            std::int32_t whole = 7;
            if (ds.GetWholeExtended(r, 2, whole))
                ASSERT_TRUE(static_cast<long double>(whole) == m.price &&
                            !(m.price == 0 && std::signbit(m.price)))
                    << "step " << step << " row " << r;
            else
                ASSERT_EQ(whole, 7) << "step " << step << " row " << r;
            ASSERT_EQ(ds.GetDateTime(r, 3), m.when) << "step " << step << " row " << r;
        }
    };
    // Short runs between clears, so that columns are often still uniform when a row is
    // inserted, deleted or written with a value that differs only in a zero's sign.
    for (int step = 0; step < 6000; ++step) {
        const int rows = static_cast<int>(model.size());
        const int op = next(10);
        if (op < 3 || rows == 0) {
            const int at = op == 0 && rows > 0 ? next(rows + 1) : rows;
            ds.Insert(at);
            model.insert(model.begin() + at, Row{});
        } else if (op == 3 && rows > 0) {
            const int at = next(rows);
            ds.Delete(at);
            model.erase(model.begin() + at);
        } else {
            // Writes go mostly to the last rows, as reading a file does, sometimes anywhere.
            const int at = next(4) == 0 ? next(rows) : rows - 1 - next(std::min(rows, 2));
            Row& m = model[static_cast<std::size_t>(at)];
            switch (next(4)) {
                case 0:
                    m.name = names[static_cast<std::size_t>(next(5))];
                    ds.SetText(at, 0, m.name);
                    break;
                case 1:
                    // Small values, then ones needing two and four bytes, of both signs.
                    switch (next(12)) {
                        case 0: m.count = next(1000) - 500; break;
                        case 1: m.count = next(2) == 0 ? INT_MIN + next(3) : INT_MAX - next(3); break;
                        case 2: m.count = next(100000) - 50000; break;
                        default: m.count = 7; break;
                    }
                    ds.SetInt(at, 1, m.count);
                    break;
                case 2:
                    // Mostly whole prices; the others widen the column until the next clear.
                    m.price = prices[static_cast<std::size_t>(next(next(5) == 0 ? 12 : 8))];
                    ds.SetExtended(at, 2, m.price);
                    break;
                default:
                    m.when = next(2) == 0 ? 0.0 : 45000.5;
                    ds.SetDateTime(at, 3, m.when);
                    break;
            }
        }
        if (step % 5 == 0) check(step);
        if (step % 100 == 99) {
            ds.Clear();
            model.clear();
        }
    }
}

TEST_F(DataSetTest, OutOfRangeAndWrongTypeThrow) {
    ds.Append();
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"negative row", [&] { ds.GetInt(-1, 1); }},
        {"row past end", [&] { ds.GetInt(1, 1); }},
        {"column past end", [&] { ds.GetInt(0, 4); }},
        {"negative column", [&] { ds.GetText(0, -1); }},
        {"text of integer column", [&] { ds.GetText(0, 1); }},
        {"integer into text column", [&] { ds.SetInt(0, 0, 1); }},
        {"extended of date column", [&] { ds.GetExtended(0, 3); }},
        {"date into extended column", [&] { ds.SetDateTime(0, 2, 1.0); }},
        {"position past end", [&] { ds.SetPosition(1); }},
        {"insert past end", [&] { ds.Insert(2); }},
        {"delete past end", [&] { ds.Delete(1); }},
        {"field past end", [&] { ds.GetFields(4); }},
        {"field type past end", [&] { ds.FieldType(9); }},
        {"cursor past end", [&] { ds.Next(); ds.FieldByName("count").AsInteger(); }},
    };
    for (const auto& [name, call] : cases) EXPECT_THROW(call(), ERangeError) << name;
    EXPECT_THROW(ds.FieldByName("nope"), Exception);
    EXPECT_THROW(ds.AddField("late", ftInteger), Exception);
    EXPECT_EQ(ds.GetCount(), 1);
}

}  // namespace
