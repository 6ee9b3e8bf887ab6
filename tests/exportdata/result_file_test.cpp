// The export result file.
#include <gtest/gtest.h>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

struct Goods {
    int plu;
    int koldod;
    std::string orgBarcode;
    int orgStatus;
    bool trOk;
    bool addRec;
    int status;  // the buffer's status, which the file does not report
};

void Add(KSExpBuf& buf, const Goods& g) {
    KSTowRec r;
    r.plu = g.plu;
    r.koldod = g.koldod;
    r.kod = "changed";
    r.org_barcode = g.orgBarcode;
    r.org_status = g.orgStatus;
    r.status = g.status;
    r.tr_ok = g.trOk;
    r.add_rec = g.addRec;
    buf.DodajRec(r);
}

TEST(ResultFileTest, OneLinePerGoodsThatReachedTheDevice) {
    TempDir dir;
    const std::string path = dir.File("wynik.exp");
    WriteBytes(path, "old content that must go away\r\n");
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    const Goods goods[] = {
        {12, 5, "5901234123457", stAkt, true, false, stAkt},
        {13, 0, "2", stDod, false, false, stDod},        // did not reach the device
        {0, 0, "3", stDod, true, false, stDod},          // plu 0
        {14, 1, "4", stNic, true, false, stUsu},         // added by reconciliation
        {15, 1, "5", stCen, true, true, stCen},          // add_rec
        {16, 2, "\xA5\xFF", stUsu, true, false, stNic},  // host's action reported
        {17, 3, "7", stDod, true, false, stAkt},
        {18, 3, "8", 7, true, false, stAkt},             // no such action
    };
    for (const Goods& g : goods) Add(buf, g);
    buf.ZapiszWynikEksp(path);
    EXPECT_EQ(ReadBytes(path),
              "PLU;12;5;5901234123457;AKT\r\nPLU;16;2;\xA5\xFF;USU\r\nPLU;17;3;7;DOD\r\n");
    EXPECT_EQ(buf.LiczbaZapisanych, 3);
    const std::vector<std::string> calls = {"start 3 8 " + Cp("Zapis wyniku eksportu:"), "pos 8", "type 0"};
    EXPECT_EQ(progress.calls, calls);
}

TEST(ResultFileTest, NothingQualifyingGivesAnEmptyFile) {
    TempDir dir;
    const std::string path = dir.File("wynik.exp");
    WriteBytes(path, "old");
    KSExpBuf buf(nullptr);
    Add(buf, {1, 1, "1", stDod, false, false, stDod});
    buf.ZapiszWynikEksp(path);
    EXPECT_TRUE(std::ifstream(path).good());
    EXPECT_EQ(ReadBytes(path), "");
    KSExpBuf empty(nullptr);
    empty.ZapiszWynikEksp(dir.File("pusty.exp"));
    EXPECT_TRUE(std::ifstream(dir.File("pusty.exp")).good());
}

TEST(ResultFileTest, AnUnwritablePathFailsWithStageError) {
    TempDir dir;
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    const std::string path = dir.File("brak") + "/x/wynik.exp";
    try {
        buf.ZapiszWynikEksp(path);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\"");  // not its temporary name
    }
    EXPECT_EQ(progress.calls.back(), "type 1");
}

}  // namespace
