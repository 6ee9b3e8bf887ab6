// Helpers of the export-buffer tests: a recording progress sink, a keyed language service and
// small file fixtures.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exportdata/ksexpbuf.h"
#include "runtime/lgtools.h"
#include "targodll.h"
#include "support/test_host.h"
#include "tools/progress.h"

// Records every stage call as one readable line: "start <type> <max> <text>", "pos <n>",
// "type <t>".
class RecordingProgress : public TLProgress {
public:
    explicit RecordingProgress(const TMLgExtTools* lg = nullptr) : lg_(lg) {}
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

// A language service that answers every lookup with "<module>/<key>", so that tests see which
// key a text came from.
inline int TARGO_CALL KeyEchoLanguage(char* buffer, int size, const char* module, const char* key) {
    const std::string text = std::string(module) + "/" + key;
    if (size <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
    return 1;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The message of whatever `f` throws; empty when it does not throw.
template <typename F>
std::string ThrownMessage(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::string();
}

// A goods line with every required field; `tail` is appended after field 19.
inline std::string GoodsLine(const std::string& plu = "1", const std::string& code = "5901234123457",
                             const std::string& action = "DOD", const std::string& tail = "") {
    return "PLU;" + plu + ";5;" + code + ";Chleb;100;90;80;70;23;1;F;0;F;F;T;0;;3;" + action + tail;
}
