// Goods lines of the sales import buffer: identifiers, the sorted index, totals.
#include <gtest/gtest.h>

#include "import_fixture.h"
#include "importdata/ksimpbuf.h"

namespace {

struct Line {
    std::string code;
    long double quantity;
    long double value;
    int identifier;
};

std::vector<Line> Lines(KSImpBuf& buf) {
    std::vector<Line> lines;
    KSImpTowRec rec;
    for (int row = 0; row < buf.CountPlu(); ++row) {
        buf.GetPlu(row, rec);
        lines.push_back({rec.code, rec.quantity, rec.value, rec.identifier});
    }
    return lines;
}

bool operator==(const Line& a, const Line& b) {
    return a.code == b.code && a.quantity == b.quantity && a.value == b.value &&
           a.identifier == b.identifier;
}

void PrintTo(const Line& l, std::ostream* os) {
    *os << "{" << l.code << " " << static_cast<double>(l.quantity) << " "
        << static_cast<double>(l.value) << " id" << l.identifier << "}";
}

TEST(ImpBufGoodsTest, AddToPluKeepsOneLinePerCodeAndIdentifier) {
    struct Case {
        const char* name;
        std::vector<Line> adds;
        std::vector<Line> expected;
    };
    const Case cases[] = {
        {"same code and identifier are summed",
         {{"123", 1, 100, 2}, {"123", 2, 250, 2}},
         {{"123", 3, 350, 2}}},
        {"identifiers 1 and 2 give two lines",
         {{"123", 1, 100, 1}, {"123", 2, 200, 2}, {"123", 1, 50, 2}},
         {{"123", 1, 100, 1}, {"123", 3, 250, 2}}},
        {"identifier 0 is a kind of its own",
         {{"7", 1, 10, 0}, {"7", 1, 10, 1}, {"7", 1, 10, 0}},
         {{"7", 2, 20, 0}, {"7", 1, 10, 1}}},
        {"codes are compared byte for byte",
         {{"0123", 1, 1, 1}, {"123", 1, 1, 1}, {"123 ", 1, 1, 1}, {"0123", 1, 1, 1}},
         {{"0123", 2, 2, 1}, {"123", 1, 1, 1}, {"123 ", 1, 1, 1}}},
        {"many codes in mixed order",
         {{"9", 1, 1, 1}, {"10", 1, 1, 1}, {"5", 1, 1, 1}, {"10", 1, 1, 1}, {"9", 1, 1, 1},
          {"1", 1, 1, 1}, {"5", 1, 1, 1}},
         {{"9", 2, 2, 1}, {"10", 2, 2, 1}, {"5", 2, 2, 1}, {"1", 1, 1, 1}}},
    };
    for (const Case& c : cases) {
        KSImpBuf buf;
        for (const Line& a : c.adds)
            buf.AddToPlu(a.code, a.quantity, a.value, static_cast<e_identifier>(a.identifier));
        EXPECT_EQ(Lines(buf), c.expected) << c.name;
    }
}

TEST(ImpBufGoodsTest, SortedIndexStaysRightAsLinesAreAdded) {
    KSImpBuf buf;
    buf.AddPlu("50", 1, 1, ident_1);
    EXPECT_EQ(buf.FindRec("50"), 0);  // builds and sorts the index
    ASSERT_TRUE(buf.Sorted);
    // Before the first, after the last, in between, and a code that is there already.
    const char* codes[] = {"10", "90", "60", "50", "55", "00"};
    for (const char* code : codes) buf.AddPlu(code, 1, 1, ident_1);
    ASSERT_EQ(buf.index.GetCount(), buf.CountPlu());
    std::string previous;
    for (int i = 0; i < buf.index.GetCount(); ++i) {
        KSImpTowRec rec;
        buf.GetPlu(buf.index.GetInt(i, 0), rec);
        EXPECT_LE(previous, rec.code) << "index row " << i;
        previous = rec.code;
    }
    EXPECT_EQ(buf.FindRec("60"), 3);
    EXPECT_EQ(buf.FindRec("00"), 6);
    EXPECT_EQ(buf.FindRec("51"), -1);
}

TEST(ImpBufGoodsTest, FindRecAfterChangesThatBreakTheIndex) {
    KSImpBuf buf;
    EXPECT_EQ(buf.FindRec("1"), -1);
    buf.AddPlu("2", 1, 1, ident_1);
    buf.AddPlu("1", 1, 1, ident_1);
    EXPECT_EQ(buf.FindRec("1"), 1);

    KSImpTowRec rec;
    buf.GetPlu(0, rec);
    rec.code = "3";
    buf.PutPlu(0, rec);  // the index no longer matches the codes
    EXPECT_FALSE(buf.Sorted);
    EXPECT_EQ(buf.FindRec("3"), 0);
    EXPECT_EQ(buf.FindRec("2"), -1);

    buf.CreateIndex();  // row order, so a search must sort again
    EXPECT_EQ(buf.FindRec("1"), 1);

    // Clear empties the index while it is sorted; new lines must still be found.
    buf.Clear();
    buf.AddPlu("8", 1, 1, ident_1);
    buf.AddPlu("4", 1, 1, ident_1);
    EXPECT_EQ(buf.FindRec("4"), 1);
    EXPECT_EQ(buf.FindRec("8"), 0);
}

TEST(ImpBufGoodsTest, ExclAddToPluAddsOnlyToExistingLines) {
    KSImpBuf buf;
    buf.AddPlu("5", 1, 10, ident_2);
    buf.ExclAddToPlu("5", 2, 20);
    buf.ExclAddToPlu("6", 2, 20);
    EXPECT_EQ(Lines(buf), (std::vector<Line>{{"5", 3, 30, 2}}));
}

TEST(ImpBufGoodsTest, PutAndGetPluCopyEveryColumn) {
    KSImpBuf buf;
    buf.AddPlu("1", 1, 1, ident_1);
    EXPECT_TRUE([&] { KSImpTowRec r; buf.GetPlu(0, r); return r.save; }());
    KSImpTowRec put;
    put.code = "X9";
    put.quantity = 2.5L;
    put.value = -7;
    put.save = false;
    put.identifier = ident_2;
    buf.PutPlu(0, put);
    KSImpTowRec got;
    buf.GetPlu(0, got);
    EXPECT_EQ(got.code, "X9");
    EXPECT_EQ(got.quantity, 2.5L);
    EXPECT_EQ(got.value, -7);
    EXPECT_FALSE(got.save);
    EXPECT_EQ(got.identifier, ident_2);
    buf.SetSaveFlag(0, true);
    buf.GetPlu(0, got);
    EXPECT_TRUE(got.save);

    got.Clear();  // keeps the identifier
    EXPECT_EQ(got.code, "");
    EXPECT_EQ(got.quantity, 0);
    EXPECT_TRUE(got.save);
    EXPECT_EQ(got.identifier, ident_2);
    EXPECT_THROW(buf.GetPlu(1, got), std::exception);
}

TEST(ImpBufGoodsTest, TotalValueFromVatRowsOrFromSavedGoods) {
    KSImpBuf buf;
    buf.AddBruTax(1, 1000);
    buf.AddBruTax(2, 230);
    buf.AddNetTax(1, 813);
    buf.AddBruTax(1, 500);
    buf.AddPlu("a", 1, 300, ident_1);
    buf.AddPlu("b", 1, 40, ident_1);
    buf.AddPlu("c", 1, 5, ident_1);
    buf.SetSaveFlag(2, false);
    EXPECT_EQ(buf.GetTotalValue(), 1730);
    buf.FiskZPlu = true;
    EXPECT_EQ(buf.GetTotalValue(), 340);

    ASSERT_EQ(buf.vat.GetCount(), 2);
    EXPECT_EQ(buf.vat.GetExtended(0, 1), 813);   // netto
    EXPECT_EQ(buf.vat.GetExtended(0, 2), 0);     // vat never added
    EXPECT_EQ(buf.vat.GetExtended(0, 3), 1500);  // brutto
}

}  // namespace
