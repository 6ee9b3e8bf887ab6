// Helpers of the sales-import and card-code tests.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "importdata/writepause.h"
#include "runtime/dttools.h"
#include "runtime/lgtools.h"
#include "targodll.h"
#include "support/test_host.h"
#include "tools/progress.h"

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The message of whatever `f` throws; "(no exception)" when it does not throw.
template <typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

inline double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return TdtTools::EncodeDate(year, month, day) + TdtTools::EncodeTime(hour, minute, second, 0);
}

// Replaces the writer's sleep and clock while alive: sleeps are recorded, the clock advances
// by `step` days on every reading.
class FakePauses {
public:
    explicit FakePauses(double stepDays = 0) {
        sleeps().clear();
        now() = 0;
        step() = stepDays;
        oldSleep_ = importpause::SetSleep([](int ms) { sleeps().push_back(ms); });
        oldClock_ = importpause::SetClock([] { return now() += step(); });
    }
    ~FakePauses() {
        importpause::SetSleep(oldSleep_);
        importpause::SetClock(oldClock_);
    }
    FakePauses(const FakePauses&) = delete;
    FakePauses& operator=(const FakePauses&) = delete;

    static std::vector<int>& sleeps() {
        static std::vector<int> s;
        return s;
    }

private:
    static double& now() {
        static double n = 0;
        return n;
    }
    static double& step() {
        static double s = 0;
        return s;
    }
    importpause::SleepFunction oldSleep_;
    importpause::ClockFunction oldClock_;
};

// Records every stage call: "start <type> <max> <text>", "pos <n>", "type <t>".
class StageRecorder : public TLProgress {
public:
    explicit StageRecorder(const TMLgExtTools* lg = nullptr) : lg_(lg) {}
    void StartStage(const std::string& text, int type, int max) override {
        calls.push_back("start " + std::to_string(type) + " " + std::to_string(max) + " " + text);
    }
    void SetProgress(int position) override { calls.push_back("pos " + std::to_string(position)); }
    void SetStageType(int type) override { calls.push_back("type " + std::to_string(type)); }
    const TMLgExtTools* GetLgTools() const override { return lg_; }

    std::vector<std::string> calls;

private:
    const TMLgExtTools* lg_;
};

// A language function that answers every lookup with "<module>/<key>", so that a test sees
// which key a text came from.
inline int TARGO_CALL EchoKeyLanguage(char* buffer, int size, const char* module, const char* key) {
    const std::string text = std::string(module) + "/" + key;
    if (size <= 0) return 0;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
    return 1;
}
