// The DibalCom stand-in: reads its options from dibctrl.txt, takes one command at a time from
// the command file (deleting it), marks the record lines of the record file it "sends" with
// '*' as their third character, and exits on "G" or after a bounded idle time.
//
// Test controls, one "name=value" per line in dibalcom.test beside it:
//   unmarked=<PLU code>   leave the record lines whose code field holds this code unmarked
//                         (repeatable; "000123" and "123" name the same code)
//   mark_delay_ms=<n>     mark one line every n ms instead of all at once
//   never_take=1          never take a command (the command file stays)
//   idle_exit_s=<n>       exit after n seconds without a command (default 60)
//   die_on=<command>      take this command and end at once, as if it crashed
//   on_stop=empty|cut     on "S", empty the record file or cut it to half its length
//   single_instance=1     end at once when another stand-in already runs in the directory
// Everything it understood and did goes, one line each, to dibalcom.log beside it.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace standin {

struct Controls {
    std::vector<std::string> unmarkedCodes;
    int markDelayMs = 0;
    bool neverTake = false;
    int idleExitSeconds = 60;
    std::string dieOn;
    std::string onStop;
    bool singleInstance = false;
};

// Reads dibalcom.test; missing file or unknown lines give the defaults.
Controls ReadControls(const std::filesystem::path& file);

// The PLU code field of a record line, by its record type (characters 3-4).
std::string CodeField(const std::string& line);

// Whether two codes name the same PLU (equal texts, or equal numbers when both are digits).
bool SameCode(const std::string& a, const std::string& b);

class StandIn {
public:
    StandIn(std::filesystem::path dir, Controls controls);
    // Runs until "G" or the idle limit; answers the process exit code.
    int Run();

private:
    using Clock = std::chrono::steady_clock;
    void Log(const std::string& line) const;
    bool ReadOptions();
    bool TakeCommand(std::string& command);
    void MarkLines();
    void SpoilRecordFile();

    std::filesystem::path dir_;
    Controls controls_;
    std::string recordFile_ = "dibal.exp";
    std::string commandFile_ = "rozkaz.txt";
    bool sending_ = false;
    int marked_ = 0;
    Clock::time_point lastMark_;
};

}  // namespace standin
