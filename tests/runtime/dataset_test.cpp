#include "runtime/dataset.h"

#include <gtest/gtest.h>

#include <functional>

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
