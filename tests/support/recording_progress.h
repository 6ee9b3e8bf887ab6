// A progress sink that records its stage calls and a language service that echoes its keys,
// so that tests see which stages ran and which key each text came from.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/lgtools.h"
#include "targodll.h"
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

// A language service that answers every lookup with "<module>/<key>".
inline int TARGO_CALL KeyEchoLanguage(char* buffer, int size, const char* module, const char* key) {
    const std::string text = std::string(module) + "/" + key;
    if (size <= 0) return 0;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
    return 1;
}
