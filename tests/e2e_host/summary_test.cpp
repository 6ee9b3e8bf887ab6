// The export summary from kasa.exp and wynik.exp.
#include <gtest/gtest.h>

#include "summary.h"

namespace host {
namespace {

TEST(HostSummary, CountsActionsAndFindsGoodsNotReported) {
    const char* kasa =
        "# comment\r\nVAT;23\r\n"
        "PLU;1;10;2101;A;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n"
        "  PLU;2;20;2102;B;1;1;1;1;5;1;T;3;T;F;F;;;1;AKT\r\n"
        "PLU;3;30;2103;C;1;1;1;1;5;1;T;3;T;F;F;;;1;USU\r\n"
        "PLU;3;30;2103;C;1;1;1;1;5;1;T;3;T;F;F;;;1;CEN\r\n"
        "plu;9;9;9;lower case is no goods\r\n";
    const char* wynik = "PLU;1;10;2101;DOD\r\nPLU;3;30;2103;USU\r\nPLU;4;40;2104;XYZ\r\n";
    const ExportSummary s = Summarise(kasa, wynik, true);
    EXPECT_EQ(s.goodsInExport, 4);
    EXPECT_EQ(s.reported, 3);
    EXPECT_EQ(s.perAction[0], 1);
    EXPECT_EQ(s.perAction[1], 0);
    EXPECT_EQ(s.perAction[3], 1);
    EXPECT_EQ(s.otherAction, 1);
    // Goods 2 is missing, and of the two equal goods 3 only one was reported.
    ASSERT_EQ(s.notReported.size(), 2u);
    EXPECT_EQ(s.notReported[0].plu, "2");
    EXPECT_EQ(s.notReported[0].action, "AKT");
    EXPECT_EQ(s.notReported[1].plu, "3");
    EXPECT_EQ(s.notReported[1].action, "CEN");
}

TEST(HostSummary, MissingOrEmptyFiles) {
    const ExportSummary none = Summarise("PLU;1;1;1;x\n", "", false);
    EXPECT_FALSE(none.resultFound);
    EXPECT_EQ(none.goodsInExport, 1);
    const ExportSummary empty = Summarise("", "", true);
    EXPECT_EQ(empty.goodsInExport, 0);
    EXPECT_EQ(empty.reported, 0);
    EXPECT_TRUE(empty.notReported.empty());
    // A truncated line has fewer fields than a goods line: no crash, empty fields.
    const ExportSummary shortLine = Summarise("PLU;5\n", "PLU\n", true);
    EXPECT_EQ(shortLine.goodsInExport, 1);
    ASSERT_EQ(shortLine.notReported.size(), 1u);
    EXPECT_EQ(shortLine.notReported[0].code, "");
}

}  // namespace
}  // namespace host
