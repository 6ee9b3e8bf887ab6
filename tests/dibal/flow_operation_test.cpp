// The operation as the host runs it: dispatch by code, the export in the file-only and the
// connected mode (DibalCom played by a thread), the failure reports and the user's stop.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/env.h"

#include "flow_fixture.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

std::string PluLine(int plu, const std::string& code, const char* action = "DOD") {
    return "PLU;" + std::to_string(plu) + ";0;" + code + ";Towar " + std::to_string(plu) +
           ";100;90;80;70;23;1;F;0;F;F;F;;0;0;" + action + "\r\n";
}

// The last n error lines the host received (a failing stage turns its own line into an error
// line before the report).
std::vector<std::string> LastErrors(const TestHost& host, std::size_t n) {
    const std::vector<std::string> errors = host.Errors();
    return {errors.end() - static_cast<std::ptrdiff_t>(std::min(n, errors.size())), errors.end()};
}

// Plays DibalCom in the DibalCom directory: takes each command, marks every record line after
// "s" except those holding `leaveUnmarked`. The dibalcom.exe the driver starts only stays alive
// while the thread plays, as the real program does while it takes commands.
class FakeDibalCom {
public:
    explicit FakeDibalCom(const TempDir& dir, std::string leaveUnmarked = {})
        : dir_(dir.Path()), leaveUnmarked_(std::move(leaveUnmarked)) {
        const fs::path program = dir_ / "dibalcom.exe";
        WriteFile((dir_ / "playing").string(), "");
        WriteFile(program.string(), "#!/bin/sh\nwhile [ -e playing ]; do sleep 0.05; done\n");
        fs::permissions(program, fs::perms::owner_all);
        thread_ = std::thread([this] { Run(); });
    }
    ~FakeDibalCom() {
        stop_ = true;
        thread_.join();
        std::error_code ec;
        fs::remove(dir_ / "playing", ec);
    }
    std::vector<std::string> Commands() {
        std::lock_guard<std::mutex> lock(mutex_);
        return commands_;
    }

private:
    void Run() {
        while (!stop_) {
            const fs::path command = dir_ / "rozkaz.txt";
            std::error_code ec;
            if (fs::exists(command, ec)) {
                // Recorded and acted on before the file goes: the driver moves on once it is gone.
                std::string text;
                try {
                    text = ReadFile(command.string());
                } catch (const std::exception&) {
                    // Still being moved into place (Windows refuses the open meanwhile): as
                    // DibalCom does, look again at the next poll.
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    continue;
                }
                std::lock_guard<std::mutex> lock(mutex_);
                commands_.push_back(text.substr(0, text.find('\r')));
                if (commands_.back() == "s")
                    MarkAll();
                fs::remove(command, ec);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void MarkAll() {
        std::string data = ReadFile((dir_ / "dibal.exp").string());
        for (std::size_t start = 0; start + 2 < data.size();) {
            const std::size_t end = data.find('\n', start);
            const std::string line = data.substr(start, end == std::string::npos ? end : end - start);
            if (leaveUnmarked_.empty() || line.find(leaveUnmarked_) == std::string::npos)
                data[start + 2] = '*';
            start = end == std::string::npos ? data.size() : end + 1;
        }
        WriteFile((dir_ / "dibal.exp").string(), data);
    }

    fs::path dir_;
    std::string leaveUnmarked_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> commands_;
    std::thread thread_;
};

TEST_F(FlowTest, ConnectionTestOnlyAnswersThatTheScaleHasNone) {
    EXPECT_EQ(host.Operation(TARGO_OP_CONNECTION_TEST), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, Cp("Waga nie obsługuje testu połączenia!") + "\x01OK");
    EXPECT_EQ(host.messages[0].kind, TARGO_MSG_INFO);
}

TEST_F(FlowTest, FailureReports) {
    struct Case {
        const char* name;
        int code, flags;
        std::map<std::string, std::string> params;
        bool saveResult;
        std::string operation, message;
    } cases[] = {
        {"unsupported code", 7, 0, {}, true, "operacja [7]",
         "Urządzenie nie obsługuje zleconego typu operacji"},
        {"import", -3, 0, {}, true, "import sprzedaży",
         "Urządzenie nie obsługuje zleconego typu operacji"},
        {"additional function 1", -8, 1, {}, true, "operacja [-8]",
         "Błędny numer funkcji dodatkowej"},
        {"configuration in file-only mode", -8, 0, {{"DibalPort", "0"}}, true, "operacja [-8]",
         "Niewłaściwy typ złącza!"},
        {"host refuses the result", -2, 0, {}, false, "eksport",
         "Błąd zapisu wyniku eksportu do bazy danych"},
        {"series not supported", -5, 0, {{"DibalSeria", "9"}}, true, "eksport automatyczny",
         "Seria wag \"\" nie jest obsługiwana"},
    };
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, value] : c.params)
            host.params[name] = value;
        host.saveResult = c.saveResult;
        host.ClearMessages();
        EXPECT_EQ(host.Operation(c.code, c.flags), 0);
        EXPECT_EQ(LastErrors(host, 2), (std::vector<std::string>{Cp(("Podczas wykonywania operacji '" +
                                                             c.operation + "' wystąpił błąd:")
                                                                .c_str()),
                                                          Cp(c.message.c_str())}));
        host.params["DibalPort"] = "0";
        host.params["DibalSeria"] = "A";
        host.saveResult = true;
    }
}

TEST_F(FlowTest, ConfigurationFunctionWritesTheOptions) {
    struct Case {
        const char* name;
        const char* port;
        const char* userConfig;
        std::string fileStart;
    } cases[] = {{"file-only with the user's file", "0", "1", "mine"},
                 {"serial", "2", "0", "-t dibal.exp\r\n"}};
    WriteFile(driver.File("dibctrl.txt"), "mine");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.params["DibalPort"] = c.port;
        host.params["DibalUserConfigTxt"] = c.userConfig;
        host.ClearMessages();
        EXPECT_EQ(host.Operation(TARGO_OP_ADDITIONAL_FUNCTION, 0), 0);
        EXPECT_TRUE(host.Errors().empty());
        EXPECT_EQ(ReadFile(driver.File("dibctrl.txt")).substr(0, c.fileStart.size()), c.fileStart);
    }
}

TEST_F(FlowTest, DevicePropertyAndSharedResource) {
    host.params["DibalKatalogDrv"] = "C:\\Nowhere";
    SkalnixAction& action = NewAction();
    EXPECT_EQ(action.DeviceProperty(1104), "-1");
    for (int number : {1101, 1103, 0, 1105})
        EXPECT_EQ(action.DeviceProperty(number), "") << number;
    EXPECT_EQ(action.GetSharedResourceName(), "C:\\Nowhere");  // as stored, unchecked
}

TEST_F(FlowTest, FileOnlyExport) {
    // Goods 1 and 3 go to the scale, goods 2 lies outside the short-code range and goods 4 is
    // deleted from the scale.
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5") + PluLine(2, "5000") +
                                             PluLine(3, "7", "AKT") + PluLine(4, "8", "USU"));
    for (int code : {-2, -5}) {
        SCOPED_TRACE(code);
        host.ClearMessages();
        EXPECT_EQ(host.Operation(code), 0);
        EXPECT_TRUE(host.Errors().empty());
        EXPECT_EQ(ReadFile(exchange.File("wynik.exp")),
                  "PLU;1;0;5;DOD\r\nPLU;2;0;5000;DOD\r\nPLU;3;0;7;AKT\r\nPLU;4;0;8;USU\r\n");
        const std::string records = ReadFile(driver.File("dibal.exp"));
        EXPECT_EQ(records.substr(0, 13), "00X100M000005");
        EXPECT_NE(records.find("00X100M000007"), std::string::npos);
        EXPECT_NE(records.find("00X100B000008"), std::string::npos);
        EXPECT_EQ(records.find("M005000"), std::string::npos);
        EXPECT_FALSE(platform::env().PathExists(driver.File("dibctrl.txt")));
        EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
        platform::env().DeleteFile(driver.File("dibal.exp"));
    }
    EXPECT_EQ(host.saveCalls, 2);
}

// The record lines of a large export go to a temporary file while the goods are prepared. An
// export that fails after a part of them was written leaves the earlier record file as it was
// and no temporary file; one that succeeds hands over every line.
TEST_F(FlowTest, LargeRecordFileIsWholeOrNotThere) {
    host.params["DibalKodKonc"] = "999999";
    std::string goods;
    constexpr int kGoods = 9000;  // more than a megabyte of records
    for (int plu = 1; plu <= kGoods; ++plu) goods += PluLine(plu, std::to_string(plu));
    const auto temporaryFiles = [&] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(driver.Path()))
            count += entry.path().extension() == ".tmp";
        return count;
    };
    WriteFile(driver.File("dibal.exp"), "older records\r\n");

    // The last goods has no code: reading it as a number ends the export.
    WriteFile(exchange.File("kasa.exp"), goods + PluLine(kGoods + 1, ""));
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_FALSE(host.Errors().empty());
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")), "older records\r\n");
    EXPECT_EQ(temporaryFiles(), 0);

    host.ClearMessages();
    WriteFile(exchange.File("kasa.exp"), goods);
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_TRUE(host.Errors().empty());
    const std::string records = ReadFile(driver.File("dibal.exp"));
    ASSERT_EQ(records.size(), 132u * kGoods);
    EXPECT_EQ(records.substr(0, 13), "00X100M000001");
    EXPECT_EQ(records.substr(132u * (kGoods - 1), 13), "00X100M009000");
    EXPECT_EQ(temporaryFiles(), 0);
}

// Another process exporting to the same DibalCom holds its directory: this export waits, as a
// stage the user can stop, and writes nothing meanwhile; it goes on once the other is done.
TEST_F(FlowTest, SecondExportToOneDibalComWaitsForTheFirst) {
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    const std::string lockPath = driver.File("dibal.lck");
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped while waiting" : "waits until the other is done");
        std::unique_ptr<platform::FileLock> other;
        ASSERT_TRUE(platform::env().TryLockFile(lockPath, other));
        ASSERT_TRUE(other);
        int asked = 0;
        host.breakQuery = [&] {
            if (++asked == 3 && !stop) other.reset();  // the other export ends
            return stop && asked == 3;
        };
        host.ClearMessages();
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        const std::vector<std::string> errors = host.Errors();
        if (stop) {
            ASSERT_FALSE(errors.empty());
            EXPECT_EQ(errors.back(), Cp("Operacja 'eksport' została przerwana"));
            EXPECT_FALSE(platform::env().PathExists(driver.File("dibal.exp")));
            EXPECT_FALSE(platform::env().PathExists(exchange.File("wynik.exp")));
        } else {
            EXPECT_TRUE(errors.empty());
            EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;1;0;5;DOD\r\n");
            bool waited = false;
            for (const HostMessage& m : host.messages)
                waited = waited ||
                         m.text == Cp("-czekam na zakończenie innej operacji w katalogu DibalCom:\x01" "2");
            EXPECT_TRUE(waited);
        }
        platform::env().DeleteFile(driver.File("dibal.exp"));
        platform::env().DeleteFile(exchange.File("wynik.exp"));
    }
    host.breakQuery = [] { return false; };
}

// DibalCom as the export starts it: the program ends at once. Another DibalCom, already
// running, may take each command after `takeAfterPolls` looks of the driver (0: none runs);
// it marks every record line on "s".
class EndedDibalComEnv : public platform::EnvWrapper {
public:
    EndedDibalComEnv(std::string dir, int takeAfterPolls)
        : platform::EnvWrapper(platform::env()), dir_(std::move(dir)), takeAfter_(takeAfterPolls) {}
    platform::Status StartProgram(const std::string&, const std::string&,
                                  std::unique_ptr<platform::StartedProgram>* started) override {
        struct Ended : platform::StartedProgram {
            bool Running() override { return false; }
        };
        if (started) *started = std::make_unique<Ended>();
        return platform::Status();
    }
    bool PathExists(const std::string& path) override {
        const bool exists = EnvWrapper::PathExists(path);
        if (!exists || path != dir_ + "rozkaz.txt" || takeAfter_ == 0 || ++polls_ < takeAfter_)
            return exists;
        polls_ = 0;
        const std::string command = ReadFile(path);
        taken.push_back(command.substr(0, command.find('\r')));
        if (taken.back() == "s") {
            std::string records = ReadFile(dir_ + "dibal.exp");
            for (std::size_t at = 0; at + 2 < records.size(); at = records.find('\n', at) + 1) {
                records[at + 2] = '*';
                if (records.find('\n', at) == std::string::npos) break;
            }
            WriteFile(dir_ + "dibal.exp", records);
        }
        EnvWrapper::DeleteFile(path);  // DibalCom's own delete, never one of the driver's
        return false;
    }
    std::vector<std::string> taken;

private:
    std::string dir_;
    int takeAfter_;
    int polls_ = 0;
};

// The DibalCom the export started has ended and no other takes the command: the export ends,
// naming the command, instead of waiting for ever. A DibalCom that was already running takes
// the commands even though the one started ended at once.
TEST_F(FlowTest, DibalComThatEndedCannotLeaveTheExportWaiting) {
    host.params["DibalPort"] = "1";
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    WriteFile(driver.File("dibalcom.exe"), "");
    {
        SCOPED_TRACE("nobody takes the command");
        EndedDibalComEnv os(driver.WithSeparator(), 0);
        platform::ScopedEnv scope(os);
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        EXPECT_EQ(LastErrors(host, 1), std::vector<std::string>{Cp(
                                           "DibalCom zakończył pracę i nie przyjął polecenia \"R\"")});
        EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
        EXPECT_FALSE(platform::env().PathExists(exchange.File("wynik.exp")));
        EXPECT_LT(clock.Micros(), 60000000);  // a few polls, not a minute
    }
    {
        SCOPED_TRACE("a DibalCom already running takes the commands");
        EndedDibalComEnv os(driver.WithSeparator(), 3);
        platform::ScopedEnv scope(os);
        host.ClearMessages();
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        EXPECT_TRUE(host.Errors().empty());
        EXPECT_EQ(os.taken, (std::vector<std::string>{"R", "s", "S"}));
        EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;1;0;5;DOD\r\n");
    }
}

// Every operation of the platform object that can fail - moving, deleting, renaming a file,
// creating a directory, locking, starting DibalCom - fails in turn, the n-th of an export for
// every n. Whatever fails, the export never claims more than it did: it ends with its error
// lines or, when the failure could be passed over, with exactly the result of a clean run;
// kasa.exp stays as it was and no temporary file is left where DibalCom or the host look.
class FailingNthEnv : public EndedDibalComEnv {
public:
    FailingNthEnv(std::string dir, int failAt) : EndedDibalComEnv(std::move(dir), 1), failAt_(failAt) {}
    platform::Status ReplaceFile(const std::string& f, const std::string& t) override {
        return Fails("move", t) ? Failure(t) : EndedDibalComEnv::ReplaceFile(f, t);
    }
    platform::Status DeleteFile(const std::string& p) override {
        return Fails("delete", p) ? Failure(p) : EndedDibalComEnv::DeleteFile(p);
    }
    platform::Status RenameFile(const std::string& f, const std::string& t) override {
        return Fails("rename", t) ? Failure(t) : EndedDibalComEnv::RenameFile(f, t);
    }
    platform::Status CreateDirectories(const std::string& p) override {
        return Fails("mkdir", p) ? Failure(p) : EndedDibalComEnv::CreateDirectories(p);
    }
    platform::Status TryLockFile(const std::string& p,
                                 std::unique_ptr<platform::FileLock>& l) override {
        return Fails("lock", p) ? Failure(p) : EndedDibalComEnv::TryLockFile(p, l);
    }
    platform::Status StartProgram(const std::string& p, const std::string& d,
                                  std::unique_ptr<platform::StartedProgram>* s) override {
        return Fails("start", p) ? Failure(p) : EndedDibalComEnv::StartProgram(p, d, s);
    }
    platform::Status OpenFile(const std::string& p, platform::FileMode m,
                              std::unique_ptr<platform::File>& f) override {
        if (Fails("open", p)) return Failure(p);
        platform::Status opened = EndedDibalComEnv::OpenFile(p, m, f);
        if (opened) f = std::make_unique<CountedFile>(*this, p, std::move(f));
        return opened;
    }
    int calls = 0;
    std::string failed;  // what failed, for the trace

private:
    // Every call on an open file counts, and the chosen one fails.
    class CountedFile : public platform::File {
    public:
        CountedFile(FailingNthEnv& env, std::string path, std::unique_ptr<platform::File> file)
            : env_(env), path_(std::move(path)), file_(std::move(file)) {}
        platform::Status Read(void* b, std::size_t n, std::size_t& got) override {
            got = 0;
            return env_.Fails("read", path_) ? Failure(path_) : file_->Read(b, n, got);
        }
        platform::Status Write(const void* b, std::size_t n) override {
            return env_.Fails("write", path_) ? Failure(path_) : file_->Write(b, n);
        }
        platform::Status Seek(std::int64_t o, int origin) override {
            return env_.Fails("seek", path_) ? Failure(path_) : file_->Seek(o, origin);
        }
        std::int64_t Tell() override { return env_.Fails("tell", path_) ? -1 : file_->Tell(); }
        platform::Status Truncate(std::int64_t size) override {
            return env_.Fails("truncate", path_) ? Failure(path_) : file_->Truncate(size);
        }
        platform::Status Close() override {
            platform::Status closed = file_->Close();  // closed either way, as a real close
            return env_.Fails("close", path_) ? Failure(path_) : closed;
        }

    private:
        FailingNthEnv& env_;
        std::string path_;
        std::unique_ptr<platform::File> file_;
    };

    bool Fails(const char* what, const std::string& path) {
        if (++calls != failAt_) return false;
        failed = std::string(what) + " " + path;
        return true;
    }
    static platform::Status Failure(const std::string& path) {
        return platform::Status::Error("Injected failure \"" + path + "\"");
    }
    int failAt_;
};

TEST_F(FlowTest, EveryFailingSystemCallEndsTruthfully) {
    host.params["DibalPort"] = "1";
    const std::string kasa = PluLine(1, "5") + PluLine(2, "6");
    WriteFile(exchange.File("kasa.exp"), kasa);
    WriteFile(driver.File("dibalcom.exe"), "");
    std::string clean;  // wynik.exp of a run without failures
    {
        FailingNthEnv os(driver.WithSeparator(), 0);
        platform::ScopedEnv scope(os);
        ASSERT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        ASSERT_TRUE(host.Errors().empty());
        clean = ReadFile(exchange.File("wynik.exp"));
        ASSERT_EQ(clean, "PLU;1;0;5;DOD\r\nPLU;2;0;6;DOD\r\n");
    }
    for (int n = 1;; ++n) {
        platform::env().DeleteFile(exchange.File("wynik.exp"));
        platform::env().DeleteFile(driver.File("dibal.exp"));
        host.ClearMessages();
        FailingNthEnv os(driver.WithSeparator(), n);
        {
            platform::ScopedEnv scope(os);
            EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        }
        SCOPED_TRACE("failure " + std::to_string(n) + ": " + os.failed);
        if (os.failed.empty()) break;  // every call of a run has failed once
        const bool wynik = platform::env().PathExists(exchange.File("wynik.exp"));
        if (host.Errors().empty()) {
            ASSERT_TRUE(wynik);
            EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), clean);
        } else if (wynik) {
            EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), clean);  // whole, never torn
        }
        EXPECT_EQ(ReadFile(exchange.File("kasa.exp")), kasa);
        EXPECT_EQ(platform::env().FindFiles(driver.File("*.tmp"), false), std::vector<std::string>{});
        EXPECT_EQ(platform::env().FindFiles(exchange.File("*.tmp"), false), std::vector<std::string>{});
        EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
        ASSERT_LT(n, 2000);
    }
}

// An automatic export has nobody to press stop: a DibalCom that runs but never takes a command
// ends it after a bound, named in the error; an interactive export keeps waiting for the user.
TEST_F(FlowTest, AutomaticExportDoesNotWaitForEverForALiveDibalCom) {
    struct Alive : EndedDibalComEnv {
        using EndedDibalComEnv::EndedDibalComEnv;
        platform::Status StartProgram(const std::string&, const std::string&,
                                      std::unique_ptr<platform::StartedProgram>* started) override {
            struct StillRuns : platform::StartedProgram {
                bool Running() override { return true; }
            };
            if (started) *started = std::make_unique<StillRuns>();
            return platform::Status();
        }
    };
    host.params["DibalPort"] = "1";
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    WriteFile(driver.File("dibalcom.exe"), "");
    Alive os(driver.WithSeparator(), 0);
    platform::ScopedEnv scope(os);
    const std::int64_t start = clock.Micros();
    EXPECT_EQ(host.Operation(TARGO_OP_AUTO_EXPORT), 0);
    EXPECT_EQ(LastErrors(host, 1),
              std::vector<std::string>{
                  Cp("DibalCom nie przyjął polecenia w wyznaczonym czasie (s): 300 \"R\"")});
    EXPECT_GE(clock.Micros() - start, 300000000);
    EXPECT_LT(clock.Micros() - start, 320000000);
    EXPECT_FALSE(platform::env().PathExists(driver.File("rozkaz.txt")));
    // The stage the export waited in named the bound, and counted up to it.
    const std::string counted = Cp("-inicjalizuję DibalCom (najdłużej s: 300):\x01") + "300";
    EXPECT_TRUE(std::any_of(host.messages.begin(), host.messages.end(),
                            [&](const HostMessage& m) { return m.text == counted; }));
}

// The export asks the host for each setting once, however many goods it prepares.
TEST_F(FlowTest, EverySettingIsAskedOncePerExport) {
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5") + PluLine(2, "6") + PluLine(3, "7"));
    host.parameterQueries.clear();
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_TRUE(host.Errors().empty());
    for (const char* name : {"Pojemnosc", "DibalSendExpDate", "DibalPluSendGroup",
                             "DibalMuxChannel", "DibalSeria", "DibalKatalogDrv"})
        EXPECT_EQ(std::count(host.parameterQueries.begin(), host.parameterQueries.end(), name), 1)
            << name;
}

TEST_F(FlowTest, AutomaticExportIsMarked) {
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5000"));
    SkalnixAction& action = NewAction();
    HTARGODLLSRODOWISKO env{nullptr, nullptr, 5};
    action.Operation(env, TARGO_OP_AUTO_EXPORT, 0);
    EXPECT_TRUE(action.AutoExport);
    EXPECT_EQ(env.ResultCode, 0);
    // Nothing for the scale: no record file, and the goods still counts as done.
    EXPECT_FALSE(platform::env().PathExists(driver.File("dibal.exp")));
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;1;0;5000;DOD\r\n");
}

// One connected run checks the stage lines of the DibalCom steps and the capacity case.
TEST_F(FlowTest, ConnectedExportStagesAndCapacity) {
    host.params["DibalPort"] = "1";
    host.params["DibalExitApp"] = "1";
    host.params["Pojemnosc"] = "1";
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5") + PluLine(2, "6") + PluLine(3, "5000"));
    FakeDibalCom dibalcom(driver);

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_EQ(dibalcom.Commands(), (std::vector<std::string>{"R", "s", "S", "G"}));
    std::vector<std::string> added;  // new lines from the record file on, as the host got them
    for (const HostMessage& m : host.messages)
        if (!m.replace && (!added.empty() || m.text == "Generowanie pliku eksportowego"))
            added.push_back(m.text);
    EXPECT_EQ(added, (std::vector<std::string>{
                         "Generowanie pliku eksportowego",
                         "Uruchamiam DibalCom.exe:",
                         Cp("-inicjalizuję DibalCom:\x01" "0"),
                         Cp("-uruchamiam komunikację DibalCom:\x01" "0"),
                         Cp("-DibalCom przesyła dane:\x01" "0 %"),
                         Cp("-zatrzymuję komunikację DibalCom:\x01" "0"),
                         Cp("-zatrzymuję program DibalCom"),
                         "- towary odrzucone przez dibalcom: :\x01" "0",
                         "Sprawdzam wyniki eksportu: :\x01" "0",
                         "Zapis wyniku eksportu::\x01" "0 %",
                     }));
    EXPECT_EQ(host.Errors(), std::vector<std::string>{Cp(
                                 "Ilość towarów do wysłania przekracza zadeklarowaną pojemność "
                                 "wagi!")});
    // Goods 2 did not fit the scale: it was never sent, so the host must not take it as sent.
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;1;0;5;DOD\r\nPLU;3;0;5000;DOD\r\n");
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")).substr(0, 13), "00*100M000005");
    EXPECT_TRUE(platform::env().PathExists(driver.File("dibctrl.txt")));
}

TEST_F(FlowTest, UnmarkedRecordIsListedAndNotReported) {
    host.params["DibalPort"] = "1";
    host.params["DibalExitApp"] = "1";
    WriteFile(exchange.File("kasa.exp"),
              "# eksport\r\n"
              "PLU;1;0;11;Jab\xB3ka;250;240;230;220;5;1;T;3;F;F;F;;0;0;DOD\r\n"
              "PLU;2;7;12;Gruszki;300;290;280;270;5;1;T;3;F;F;F;;0;0;AKT\r\n"
              "PLU;3;0;5000;Poza zakresem;100;100;100;100;23;1;F;0;F;F;F;;0;0;DOD\r\n"
              "PLU;4;0;13;\x8Cliwki;400;390;380;370;5;1;T;3;F;F;F;;0;0;USU\r\n");
    FakeDibalCom dibalcom(driver, "M000012");

    // The driver waits 30 s (of the fake clock) for the missing mark before it stops the
    // transfer.
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_GE(clock.Micros(), 30000000);
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"...000012 Gruszki"});
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")),
              "PLU;1;0;11;DOD\r\nPLU;3;0;5000;DOD\r\nPLU;4;0;13;USU\r\n");
    EXPECT_EQ(dibalcom.Commands(), (std::vector<std::string>{"R", "s", "S", "G"}));
    const std::string log = ReadFile(exchange.File("kasa.log"));
    EXPECT_NE(log.find("000012 Gruszki"), std::string::npos) << log;
}

// An interrupted export can leave a command behind. The DibalCom the next export starts would
// carry it out first (a stale "G" ends DibalCom before the export's own "R"), so it goes before
// DibalCom starts; a command file that cannot go ends the export.
TEST_F(FlowTest, CommandLeftByAnEarlierExportGoesBeforeDibalComStarts) {
    host.params["DibalPort"] = "1";
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    const std::string command = driver.File("rozkaz.txt");
    struct Case {
        const char* name;
        bool removable;
        std::string message;
    } cases[] = {
        // No dibalcom.exe here: the start fails, after the stale command went.
        {"removed", true, Cp("Brak sterownika ") + driver.File("dibalcom.exe")},
        {"cannot be removed", false, Cp("Błąd usunięcia pliku ") + command},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.removable) {
            WriteFile(command, "G\r\n\r\n");
        } else {
            fs::create_directory(command);  // a directory with a file in it refuses to go
            WriteFile(command + "/x", "");
        }
        host.ClearMessages();
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        EXPECT_EQ(LastErrors(host, 1), std::vector<std::string>{c.message});
        EXPECT_EQ(platform::env().PathExists(command), !c.removable);
        fs::remove_all(command);
    }
}

TEST_F(FlowTest, UsersStopWhileACommandIsPending) {
    host.params["DibalPort"] = "10";  // TCP/IP
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    WriteFile(driver.File("dibalcom.exe"), "#!/bin/sh\nexit 0\n");
    fs::permissions(driver.File("dibalcom.exe"), fs::perms::owner_all);
    const std::string command = driver.File("rozkaz.txt");
    host.breakQuery = [&] { return platform::env().PathExists(command); };

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    EXPECT_EQ(LastErrors(host, 1),
              std::vector<std::string>{Cp("Operacja 'eksport' została przerwana")});
    // The command nobody took is taken back: a DibalCom started later must not carry it out.
    EXPECT_FALSE(platform::env().PathExists(command));
    EXPECT_FALSE(platform::env().PathExists(exchange.File("wynik.exp")));
    host.breakQuery = [] { return false; };
}

}  // namespace

// Goods the preparation keeps back are named in the window with their reasons (the first ten,
// then "and so on") and all of them in kasa.log; they are still not reported as sent.
TEST_F(FlowTest, KeptBackGoodsAreShownWithTheirReasons) {
    host.params["Pojemnosc"] = "1";
    std::string kasa;
    for (int plu = 1; plu <= 12; ++plu)
        kasa += PluLine(plu, std::to_string(plu));
    WriteFile(exchange.File("kasa.exp"), kasa);

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    const std::string reason = Cp(" (towar nie zmieści się w wadze)");
    std::vector<std::string> expected;
    for (int plu = 2; plu <= 11; ++plu)
        expected.push_back("...PLU: " + std::to_string(plu) + "; KOD: " + std::to_string(plu) +
                           reason);
    expected.push_back("i tak dalej...");
    EXPECT_EQ(host.Texts(TARGO_MSG_WARNING), expected);
    // The stage line as it ends, after its count was set.
    const auto stage = std::find_if(host.messages.rbegin(), host.messages.rend(),
                                    [](const HostMessage& m) {
                                        return m.text.find(Cp("pominięte")) != std::string::npos;
                                    });
    ASSERT_NE(stage, host.messages.rend());
    EXPECT_EQ(stage->text, Cp("- towary pominięte:\x01") + "11");

    const std::string log = ReadFile(exchange.File("kasa.log"));
    for (int plu = 2; plu <= 12; ++plu)
        EXPECT_NE(log.find("PLU: " + std::to_string(plu) + "; KOD: " + std::to_string(plu) +
                           reason + "\r\n"),
                  std::string::npos)
            << plu;
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")).find("PLU;2;"), std::string::npos);
}

// Without kept-back goods the window has no warning and no log file is written.
TEST_F(FlowTest, NoKeptBackGoodsNoWarningsNoLog) {
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5") + PluLine(2, "5000"));
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_TRUE(host.Texts(TARGO_MSG_WARNING).empty());
    EXPECT_FALSE(platform::env().PathExists(exchange.File("kasa.log")));
}

// A price that is not a number keeps its goods off the scale and out of wynik.exp, with a
// warning naming the field; a price with a decimal comma is sent.
TEST_F(FlowTest, GoodsWithTextInAPriceIsKeptBack) {
    const auto line = [](int plu, const std::string& price) {
        return "PLU;" + std::to_string(plu) + ";0;" + std::to_string(plu) + ";Towar;" + price +
               ";90;80;70;23;1;F;0;F;F;F;;0;0;DOD\r\n";
    };
    WriteFile(exchange.File("kasa.exp"), line(1, "24x50") + line(2, "abc") + line(3, "nan") +
                                             line(4, "inf") + line(5, "24,50"));

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);

    std::vector<std::string> expected;
    for (int plu = 1; plu <= 4; ++plu)
        expected.push_back("...PLU: " + std::to_string(plu) + "; KOD: " + std::to_string(plu) +
                           Cp(" (pole nr 5 nie jest liczbą)"));
    EXPECT_EQ(host.Texts(TARGO_MSG_WARNING), expected);
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;5;0;5;DOD\r\n");
    const std::string records = ReadFile(driver.File("dibal.exp"));
    EXPECT_EQ(records.substr(0, 13), "00X100M000005");
    EXPECT_EQ(records.find("M000001"), std::string::npos);
}

// A file that yields no goods (empty, or random bytes) is still a success but says so, and a
// file with UTF-8 names warns that the scale will show them garbled; a Windows-1250 file with
// Polish letters gets neither warning.
TEST_F(FlowTest, FileWarnings) {
    std::string noise;
    for (int i = 0; i < 5000; ++i)
        noise += static_cast<char>((i * 7919 + 13) % 251);
    const std::string noGoods = Cp("Plik eksportowy nie zawiera żadnego towaru");
    const std::string utf8 = Cp("Nazwy towarów zapisano w UTF-8 zamiast Windows-1250: na wadze "
                                "będą zniekształcone");
    struct Case {
        const char* name;
        std::string kasa;
        std::vector<std::string> warnings;
    } cases[] = {
        {"empty", "", {noGoods}},
        {"noise", noise, {noGoods}},
        {"utf-8 names", "PLU;1;0;5;Jab\xC5\x82ka;100;90;80;70;23;1;F;0;F;F;F;;0;0;DOD\r\n", {utf8}},
        {"windows-1250 names", "PLU;1;0;5;Jab\xB3ka \xB9\xEA;100;90;80;70;23;1;F;0;F;F;F;;0;0;DOD\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.ClearMessages();
        WriteFile(exchange.File("kasa.exp"), c.kasa);
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        EXPECT_TRUE(host.Errors().empty());
        EXPECT_EQ(host.Texts(TARGO_MSG_WARNING), c.warnings);
    }
}

// A path of exactly `length` characters below `base`, in components a file system takes.
std::string PathOfLength(std::string path, std::size_t length) {
    while (path.size() + 1 < length) {
        path += platform::kPathSeparator;
        path += std::string(std::min<std::size_t>(100, length - path.size()), 'k');
    }
    return path;
}

// A parameter value that fills the host's buffer (300 characters, or more and cut to 300) stops
// the export before it writes anything: no shortened DibalCom directory, no record file, no
// result. A value one character shorter is taken whole.
TEST_F(FlowTest, ValueThatMayHaveBeenCutStopsTheExportBeforeAnythingIsWritten) {
    WriteFile(exchange.File("kasa.exp"), PluLine(1, "5"));
    const std::string tooLong =
        Cp("Wartość parametru jest za długa (300 znaków lub więcej), mogła zostać obcięta: ");
    const struct {
        const char* parameter;
        std::string value;
        bool refused;
    } cases[] = {
        {"DibalKatalogDrv", PathOfLength(driver.Path(), 300), true},
        {"DibalKatalogDrv", PathOfLength(driver.Path(), 400), true},
        {"DibalIPAddress", std::string(300, '1'), true},
        {"DibalIPAddress", std::string(299, '1'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.parameter) + " of " + std::to_string(c.value.size()));
        ASSERT_EQ(c.value.size() >= 300, c.refused);
        host.params = DefaultDriverParams(driver.Path());
        host.params[c.parameter] = c.value;
        host.ClearMessages();
        host.saveCalls = 0;
        EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
        if (!c.refused) {
            EXPECT_TRUE(host.Errors().empty());
            EXPECT_EQ(host.saveCalls, 1);
            EXPECT_TRUE(fs::exists(driver.File("dibal.exp")));
            fs::remove(driver.File("dibal.exp"));
            fs::remove(exchange.File("wynik.exp"));
            continue;
        }
        EXPECT_EQ(LastErrors(host, 1), std::vector<std::string>{tooLong + c.parameter});
        EXPECT_EQ(host.saveCalls, 0);
        EXPECT_TRUE(fs::is_empty(driver.Path())) << "nothing in the DibalCom directory";
        std::vector<std::string> inExchange;
        for (const auto& entry : fs::directory_iterator(exchange.Path()))
            inExchange.push_back(entry.path().filename().string());
        EXPECT_EQ(inExchange, std::vector<std::string>{"kasa.exp"});
    }
}
