// The export result file when the disk refuses the lines only as the file is closed.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "expbuf_fixture.h"
#include "platform/env.h"
#include "runtime/exceptions.h"

namespace {

// Lets files of this process grow to `bytes` at most while it lives; writing past the limit
// fails with an error instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(ResultFileTest, AWriteRefusedAtCloseEndsWithStageErrorNotOk) {
    TempDir dir;
    const std::string path = dir.File("wynik.exp");
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    for (int plu = 1; plu <= 3; ++plu) {
        KSTowRec r;
        r.plu = plu;
        r.org_barcode = "590123412345" + std::to_string(plu);
        r.status = r.org_status = stAkt;
        r.tr_ok = true;
        buf.DodajRec(r);
    }
    WriteBytes(path, "old");
    {
        FileSizeLimit limit(10);
        EXPECT_THROW(buf.ZapiszWynikEksp(path), EInOutError);
    }
    const std::vector<std::string> calls = {"start 3 3 " + Cp("Zapis wyniku eksportu:"), "type 1"};
    EXPECT_EQ(progress.calls, calls);
    // The host never sees a torn result: the file it had stays, no temporary file is left.
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(platform::env().FindFiles(dir.File("*"), false), std::vector<std::string>{"wynik.exp"});
}

}  // namespace
