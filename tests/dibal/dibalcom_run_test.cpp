// Running DibalCom: file replacement, the command handshake and the user's stop, the transfer
// wait, the program start, the record file in the file-only mode and the DibalCom directory.
#include <cstdint>

#include "exportdata/ksexpbuf.h"
#include "flow_fixture.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

std::string FailureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Exception& e) {
        return std::string(e.ClassName()) + ": " + e.Message();
    }
    return "no failure";
}

TEST_F(FlowTest, RenFileReplacesTheTarget) {
    SkalnixAction& action = SerialAction();
    WriteFile(driver.File("a.tmp"), "new");
    WriteFile(driver.File("a.txt"), "old and longer");
    action.RenFile(driver.File("a.tmp"), driver.File("a.txt"));
    EXPECT_EQ(ReadFile(driver.File("a.txt")), "new");
    EXPECT_FALSE(platform::env().PathExists(driver.File("a.tmp")));
}

TEST_F(FlowTest, RenFileFailures) {
    SkalnixAction& action = SerialAction();
    // A target that is a non-empty directory cannot be deleted.
    const std::string blocked = driver.File("blocked");
    ASSERT_TRUE(platform::env().CreateDirectories(blocked + "/inner"));
    WriteFile(driver.File("a.tmp"), "x");
    EXPECT_EQ(FailureOf([&] { action.RenFile(driver.File("a.tmp"), blocked); }),
              "Exception: " + Cp("Błąd usunięcia pliku ") + blocked);
    // A missing source cannot be renamed.
    EXPECT_EQ(FailureOf([&] { action.RenFile(driver.File("gone.tmp"), driver.File("b.txt")); }),
              "Exception: " + Cp("Błąd zmiany nazwy pliku ") + driver.File("b.txt"));
}

TEST_F(FlowTest, RenFileTextsComeFromTheLanguageService) {
    host.SetTranslation("skalnix_dbaction", "ARenFileExceptioAnsiStri_00001", "Rename failed: ");
    SkalnixAction& action = SerialAction();
    EXPECT_EQ(FailureOf([&] { action.RenFile(driver.File("gone.tmp"), driver.File("b.txt")); }),
              "Exception: Rename failed: " + driver.File("b.txt"));
}

TEST_F(FlowTest, ExecuteHandsOverTheCommandAndStopsOnTheUsersRequest) {
    // Nobody takes the command. The first answer of the break query decides how the wait
    // ends: a stop seen by CheckBreak is the abort; one seen only by the second question of
    // the pass is the driver's own message.
    struct Case {
        const char* name;
        std::vector<bool> answers;
        std::string failure;
    } cases[] = {
        {"stop at once", {true}, "EAbort: "},
        {"stop between the questions", {false, true},
         "Exception: " + Cp("Wyjście na życzenie użytkownika.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t asked = 0;
        std::string pending;  // the command file as DibalCom would have found it
        host.breakQuery = [&] {
            if (asked == 0) pending = ReadFile(driver.File("rozkaz.txt"));
            return c.answers[std::min(asked++, c.answers.size() - 1)];
        };
        SkalnixAction& action = SerialAction();
        const std::string failure = FailureOf([&] { action.Execute("R\r\n"); });
        EXPECT_EQ(failure.substr(0, c.failure.size()), c.failure);
        EXPECT_EQ(pending, "R\r\n\r\n");
        // The command nobody took is taken back, and no temporary file is left.
        EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
        EXPECT_EQ(platform::env().FindFiles(driver.File("*.tmp"), false),
                  std::vector<std::string>{});
    }
    host.breakQuery = [] { return false; };
}

TEST_F(FlowTest, WaitForFileEndsAtOnceWhenTheStateIsReached) {
    SkalnixAction& action = SerialAction();
    host.breakQuery = [] { return true; };  // would stop any real wait
    EXPECT_TRUE(action.WaitForFile(driver.File("absent"), true));
    WriteFile(driver.File("present"), "");
    EXPECT_TRUE(action.WaitForFile(driver.File("present"), false));
}

TEST_F(FlowTest, TransferWaitEndsWithoutSleepingWhenDone) {
    // Each case must end in the first pass: a sleep would show as a second's delay.
    struct Case {
        const char* name;
        const char* records;  // null: no record file
        int expectedMarks;
        bool stop;
    } cases[] = {
        {"every line marked", "04*100M000001\r\n04*100M000002\r\n", 2, false},
        {"user stops", "04X100M000001\r\n", 1, true},
        {"nothing expected, no file", nullptr, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkalnixAction& action = SerialAction();
        platform::env().DeleteFile(driver.File("dibal.exp"));
        if (c.records != nullptr)
            WriteFile(driver.File("dibal.exp"), c.records);
        action.Plan.ProgressUnits = c.expectedMarks;
        host.breakQuery = [&] { return c.stop; };
        const std::int64_t start = clock.Micros();
        action.WaitForTransfer();
        EXPECT_LT(clock.Micros() - start, 900000);
    }
    host.breakQuery = [] { return false; };
}

TEST_F(FlowTest, StartDibalComWithoutTheProgram) {
    SkalnixAction& action = SerialAction();
    EXPECT_EQ(FailureOf([&] { action.StartDibalCom(); }),
              "Exception: Brak sterownika " + driver.File("dibalcom.exe"));
}

TEST_F(FlowTest, FileOnlySendWritesTheRecordsAndNothingElse) {
    SkalnixAction& action = SerialAction();
    action.Settings.ConnectionType = 0;
    KSExpBuf buffer(&action);
    action.ExpBuf = &buffer;
    KSTowRec rec;
    rec.plu_rec = "00X100M000001000A\r\n";
    action.Plan.AddSent(0, rec.plu_rec, "A");
    buffer.DodajRec(rec);
    WriteFile(driver.File("dibal.exp"), std::string(300, 'o'));  // an older, longer file
    host.ClearMessages();
    action.SendGoods();
    action.ExpBuf = nullptr;
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")), "00X100M000001000A\r\n");
    EXPECT_FALSE(platform::env().PathExists(driver.File("dibal.tmp")));
    EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "Generowanie pliku eksportowego\x01OK");
}

TEST_F(FlowTest, EnsureDriverDirCreatesOrFails) {
    SkalnixAction& action = SerialAction();
    action.Settings.DriverDir = driver.File("a/b") + "/";
    action.EnsureDriverDir();
    EXPECT_TRUE(platform::env().DirectoryExists(driver.File("a/b")));

    WriteFile(driver.File("plain"), "");
    action.Settings.DriverDir = driver.File("plain/sub") + "/";
    EXPECT_EQ(FailureOf([&] { action.EnsureDriverDir(); }),
              "Exception: " + Cp("Błąd utworzenia katalogu eksportu"));
}

}  // namespace
