// Running DibalCom: the record file, the program start, the command handshake through
// rozkaz.txt, following the transfer by the marks in dibal.exp, and the file replacement.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "dibal/catalogue.h"
#include "dibal/dibalcom_marks.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"

namespace {

bool IsMuxChannel(int channel) { return channel >= 1 && channel <= 8; }

// How long an automatic export waits for DibalCom to take one command.
constexpr int kAutoCommandLimitSeconds = 300;

}  // namespace

std::string SkalnixAction::DriverFile(const char* name) const { return Settings.DriverDir + name; }

void SkalnixAction::SendGoods() {
    TLStageScope stage(this, DriverText("SkalnixASendPluRMsgAdd", "Generowanie pliku eksportowego"),
                       stagePlain, 100);
    WriteRecordFile();
    if (Settings.ConnectionType != 0) {
        StartStage(DriverText("SkalnixASendPluRMsgAdd_00001", "Uruchamiam DibalCom.exe:"),
                   stagePlain, 100);
        RemoveStaleCommand();
        StartDibalCom();
        StartStage(CommandStage(DriverText("SkalnixASendPluRMsgAdd_00002", " -inicjalizuję DibalCom")),
                   stageCounter, 100);
        Execute("R\r\n");
        StartStage(CommandStage(DriverText("SkalnixASendPluRMsgAdd_00003",
                                           " -uruchamiam komunikację DibalCom")),
                   stageCounter, 100);
        Execute("s\r\n");
        StartStage(DriverText("SkalnixASendPluRMsgAdd_00004", " -DibalCom przesyła dane"),
                   stagePercent, Plan.ProgressUnits);
        WaitForTransfer();
        StartStage(CommandStage(DriverText("SkalnixASendPluRMsgAdd_00005",
                                           " -zatrzymuję komunikację DibalCom")),
                   stageCounter, 100);
        Execute("S\r\n");
        if (Settings.ConnectionType == 1 && IsMuxChannel(Settings.MuxChannel)) {
            StartStage(CommandStage(DriverText("SkalnixASendPluRMsgAdd_00006",
                                               " -zatrzymuję program DibalCom")),
                       stagePlain, 100);
            Execute("G\r\n");
        } else if (Settings.ExitDibalCom) {
            StartStage(CommandStage(DriverText("SkalnixASendPluRMsgAdd_00007",
                                               " -zatrzymuję program DibalCom")),
                       stagePlain, 100);
            Execute("G\r\n");
        }
        CheckResults();
    }
}

std::string SkalnixAction::CommandStage(const std::string& caption) const {
    // Nobody watches an automatic export: its stage says how long a command may wait.
    if (!AutoExport) return caption;
    return caption + DriverText("SkalnixAAutoLimitMsgAdd", " (najdłużej s: ") +
           std::to_string(kAutoCommandLimitSeconds) + ")";
}

void SkalnixAction::WriteRecordFile() {
    // The lines went to a temporary file as the goods were planned: it now takes its name.
    const std::string target = DriverFile("dibal.exp");
    try {
        RenFile(Plan.FinishRecordFile(target), target);
    } catch (...) {
        Plan.DiscardRecordFile();  // nothing half-written is left behind
        throw;
    }
    Plan.RecordFileHandedOver();
}

void SkalnixAction::ReplaceWithText(const std::string& text, const std::string& target) {
    ReplaceWith(target, [&](TMFile& file) { file.Write(text); });
}

void SkalnixAction::ReplaceWith(const std::string& target,
                                const std::function<void(TMFile&)>& write) {
    const std::string tempPath = platform::TemporaryPathFor(target);
    try {
        TMFile file;
        file.SetPath(tempPath);
        file.SetReadOnly(false);
        file.Open();
        file.SetPointer(0);
        file.SetEof();  // a temporary file left by a process of the same number
        write(file);
        file.Close();
        RenFile(tempPath, target);
    } catch (...) {
        platform::env().DeleteFile(tempPath);  // nothing half-written is left behind
        throw;
    }
}

void SkalnixAction::RemoveStaleCommand() {
    // A command an interrupted export left behind would be carried out by the DibalCom this
    // export starts, before the export's own first command.
    const std::string commandPath = DriverFile("rozkaz.txt");
    if (platform::env().PathExists(commandPath) && !platform::env().DeleteFile(commandPath))
        throw Exception(DriverText("ARenFileExceptioAnsiStri", "Błąd usunięcia pliku ") +
                        commandPath);
}

void SkalnixAction::StartDibalCom() {
    const std::string program = DriverFile("dibalcom.exe");
    if (!platform::env().FileExists(program))
        throw Exception(DriverText("UruchomDExceptioAnsiStri", "Brak sterownika ") + program);
    if (!platform::env().StartProgram(program, Settings.DriverDir, &dibalCom_))
        throw Exception(
            DriverText("SkalnixAUruchomDExceptio", "Nie powiodło się uruchomienie DibalCom!"));
}

void SkalnixAction::Execute(const std::string& command) {
    const std::string commandPath = DriverFile("rozkaz.txt");
    ReplaceWithText(command + "\r\n", commandPath);
    // A command DibalCom has not taken is taken back when the export stops or fails, so that
    // no DibalCom started later carries it out.
    bool taken = false;
    pendingCommand_ = command.substr(0, command.find_first_of("\r\n"));
    try {
        taken = WaitForFile(commandPath, true);
    } catch (...) {
        pendingCommand_.clear();
        platform::env().DeleteFile(commandPath);
        throw;
    }
    pendingCommand_.clear();
    if (!taken) {
        platform::env().DeleteFile(commandPath);
        throw Exception(DriverText("SkalnixAExecuteExceptio", "Wyjście na życzenie użytkownika."));
    }
}

bool SkalnixAction::WaitForFile(const std::string& path, bool untilGone) {
    int pollsSinceEnd = 0;
    for (int seconds = 1;; ++seconds) {
        if (platform::env().PathExists(path) != untilGone) {
            SetStageType(stageDone);
            return true;
        }
        if (!pendingCommand_.empty()) {
            CheckDibalComAlive(pollsSinceEnd);
            // Nobody watches an automatic export: a DibalCom that runs but takes no command must
            // not hold it for ever.
            if (AutoExport && seconds > kAutoCommandLimitSeconds)
                throw Exception(DriverText("SkalnixAAutoLimitExceptio",
                                           "DibalCom nie przyjął polecenia w wyznaczonym czasie (s): ") +
                                std::to_string(kAutoCommandLimitSeconds) + " \"" +
                                pendingCommand_ + "\"");
        }
        CheckBreak();
        if (BreakRequested())
            return false;
        SetProgress(seconds);
        platform::env().SleepMs(1000);
    }
}

void SkalnixAction::CheckDibalComAlive(int& pollsSinceEnd) {
    // A DibalCom started while another one runs may end at once and leave the work to that
    // one: the command is given a few polls to be taken before the wait is given up.
    constexpr int kPollsForAnother = 5;
    if (!dibalCom_ || dibalCom_->Running()) return;
    if (++pollsSinceEnd <= kPollsForAnother) return;
    throw Exception(DriverText("SkalnixADibalComGoneExceptio",
                               "DibalCom zakończył pracę i nie przyjął polecenia ") +
                    "\"" + pendingCommand_ + "\"");
}

void SkalnixAction::WaitForTransfer() {
    // 0.000347223 of a day without a new mark ends the wait.
    constexpr std::int64_t kIdleLimitMicros = 30000067;
    platform::Env& os = platform::env();
    const std::string recordPath = DriverFile("dibal.exp");
    int lastCount = 0;
    bool idleRunning = false;
    std::int64_t idleStart = 0;
    int pollsSinceEnd = 0;
    while (!BreakRequested()) {
        const std::vector<bool> marks = dibal::ReadMarksSoFar(recordPath);
        const int count = static_cast<int>(std::count(marks.begin(), marks.end(), true));
        SetProgress(count);
        if (count >= Plan.ProgressUnits)
            return;
        // The DibalCom this export started has ended and no other one marks lines: nobody is
        // sending, so waiting out the idle time would only delay what the result check says.
        if (dibalCom_ && !dibalCom_->Running() && count == lastCount && ++pollsSinceEnd > 5)
            return;
        if (count != lastCount) {
            pollsSinceEnd = 0;
            lastCount = count;
            idleRunning = false;
        } else if (!idleRunning) {
            idleStart = os.NowMicros();
            idleRunning = true;
        } else if (os.NowMicros() - idleStart >= kIdleLimitMicros) {
            return;
        }
        os.SleepMs(1000);
    }
}

void SkalnixAction::RenFile(const std::string& from, const std::string& to) {
    const platform::Status replaced = platform::env().ReplaceFile(from, to);
    if (replaced) return;
    if (replaced.TargetInTheWay())
        throw Exception(DriverText("ARenFileExceptioAnsiStri", "Błąd usunięcia pliku ") + to);
    throw Exception(DriverText("ARenFileExceptioAnsiStri_00001", "Błąd zmiany nazwy pliku ") + to);
}
