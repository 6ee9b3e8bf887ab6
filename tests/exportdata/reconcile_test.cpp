// Reconciliation of the host's goods with the codes a device holds.
#include <gtest/gtest.h>

#include "expbuf_fixture.h"

namespace {

struct Row {
    std::string kod;
    int status;
    bool flag;
    bool fromDevice;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << "{" << r.kod << "," << r.status << "," << r.flag << "," << r.fromDevice << "}";
}

std::vector<Row> Rows(KSExpBuf& buf) {
    std::vector<Row> rows;
    KSTowRec r;
    for (int i = 0; i < buf.towary.GetCount(); ++i) {
        buf.CzytajRec(i, r);
        rows.push_back({r.kod, r.status, r.flag, r.fd_from_ecr});
    }
    return rows;
}

void AddGoods(KSExpBuf& buf, const std::string& code, int status) {
    KSTowRec r;
    r.plu = 1;
    r.kod = code;
    r.status = status;
    r.org_status = status;
    buf.DodajRec(r);
}

struct Case {
    const char* name;
    bool compareSets;  // ComparePLUSets instead of AnalizujCancelBufor
    bool stripZeros;
    std::vector<std::pair<std::string, int>> host;
    std::vector<std::string> device;
    std::vector<Row> after;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ReconcileTest : public ::testing::TestWithParam<Case> {};

TEST_P(ReconcileTest, EndsWithTheseRows) {
    const Case& c = GetParam();
    KSExpBuf buf(nullptr);
    for (const auto& [code, status] : c.host) AddGoods(buf, code, status);
    for (const std::string& code : c.device) buf.AddInPlu(code, "extra");
    if (c.compareSets)
        buf.ComparePLUSets(c.stripZeros);
    else
        buf.AnalizujCancelBufor(c.stripZeros);
    EXPECT_EQ(Rows(buf), c.after);
    // The counters agree with the rows afterwards.
    int perStatus[5] = {};
    for (const Row& r : c.after) ++perStatus[r.status];
    EXPECT_EQ(buf.LiczbaTowarow, static_cast<int>(c.after.size()));
    EXPECT_EQ(buf.LiczbaDod, perStatus[stDod]);
    EXPECT_EQ(buf.LiczbaAkt, perStatus[stAkt]);
    EXPECT_EQ(buf.LiczbaCen, perStatus[stCen]);
    EXPECT_EQ(buf.LiczbaUsu, perStatus[stUsu]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReconcileTest,
    ::testing::Values(
        Case{"OnlyZerosSkipped", false, true, {{"5", stAkt}}, {"000", "", "0"},
             {{"5", stDod, false, false}}},
        Case{"StrippedCodeFound", false, true, {{"123", stDod}}, {"000123"},
             {{"123", stAkt, true, false}}},
        Case{"HostCodeWithZeroNotFound", false, true, {{"0123", stDod}}, {"000123"},
             {{"0123", stDod, false, false}, {"123", stUsu, true, true}}},
        Case{"UnstrippedDeletionKeepsZeros", false, false, {}, {"000456"},
             {{"000456", stUsu, true, true}}},
        Case{"StrippedDeletion", false, true, {}, {"000456"}, {{"456", stUsu, true, true}}},
        Case{"UnstrippedSearchUsesKeyWithoutZeros", false, false, {{"456", stCen}}, {"000456"},
             {{"456", stAkt, true, false}}},
        Case{"UnheldGoodsSettled", false, true,
             {{"1", stDod}, {"2", stAkt}, {"3", stCen}, {"4", stUsu}, {"5", stNic}}, {},
             {{"1", stDod, false, false}, {"2", stDod, false, false}, {"3", stDod, false, false},
              {"4", stNic, false, false}, {"5", stNic, false, false}}},
        Case{"HeldDeletionStays", false, true, {{"4", stUsu}, {"7", stAkt}}, {"4", "7"},
             {{"4", stUsu, true, false}, {"7", stAkt, true, false}}},
        Case{"SetsUnheldGoodsSettled", true, true,
             {{"1", stDod}, {"2", stAkt}, {"3", stCen}, {"4", stUsu}}, {},
             {{"1", stDod, false, false}, {"2", stDod, false, false}, {"3", stDod, false, false},
              {"4", stNic, false, false}}},
        Case{"SetsDeviceOnlyCodeAddsEmptyCode", true, true, {{"1", stAkt}}, {"99", "00"},
             {{"1", stDod, false, false}, {"", stUsu, true, true}}},
        Case{"SetsHeldGoodsUpdated", true, false, {{"12", stCen}}, {"012"},
             {{"12", stAkt, true, false}}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A driver's buffer whose hooks read the device data.
class DeviceBuffer : public KSExpBuf {
public:
    DeviceBuffer() : KSExpBuf(nullptr) {}
    void DodInfo2TowRec(const std::string& additional, KSTowRec& rec) override {
        rec.kod = additional;
        seen.push_back(additional);
    }
    bool CheckIfDeletePLU(KSTowRec& host, KSTowRec&) override { return host.kod == "2"; }
    std::vector<std::string> seen;
};

TEST(ReconcileHooksTest, DeviceDataReachesTheHooks) {
    DeviceBuffer buf;
    AddGoods(buf, "1", stDod);
    AddGoods(buf, "2", stAkt);
    buf.AddInPlu("1", "d1");
    buf.AddInPlu("2", "d2");
    buf.AddInPlu("3", "d3");
    buf.ComparePLUSets(true);
    EXPECT_EQ(buf.seen, (std::vector<std::string>{"d1", "d2", "d3"}));
    EXPECT_EQ(Rows(buf), (std::vector<Row>{{"1", stAkt, true, false},
                                           {"2", stAkt, true, false},
                                           {"d2", stUsu, true, true},
                                           {"d3", stUsu, true, true}}));
    EXPECT_EQ(buf.LiczbaUsu, 2);
}

}  // namespace
