// The record file for DibalCom, written as its lines are made: once it knows where it goes,
// the lines gathered go to a temporary file of this process a large block at a time, so they
// need not all be held until the file is handed over. The file takes its real name only then;
// one never handed over is removed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/mfile.h"

namespace dibal {

class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile() { Discard(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // From now on full blocks go to the temporary file for `target`.
    void WriteTo(const std::string& target);
    void Append(std::string_view lines) {
        block_.append(lines);
        if (block_.size() >= kBlock && !tempPath_.empty()) WritePending();
    }
    // Writes what is left to the temporary file for `target` (the one given to WriteTo, if
    // any) and closes it; answers its path. It waits there to be moved to `target`. A file
    // already handed over is not made again: an empty one would replace it.
    const std::string& Finish(const std::string& target);
    // The temporary file was moved to its target: nothing is left to remove.
    void HandedOver() {
        opened_ = false;
        handedOver_ = true;
    }
    // Removes the temporary file, if one was begun.
    void Discard();

private:
    static constexpr std::size_t kBlock = 1 << 20;
    void WritePending();

    std::string tempPath_;
    std::string block_;
    TMFile file_;
    bool opened_ = false;  // a temporary file may exist, if only in part
    bool handedOver_ = false;
};

}  // namespace dibal
