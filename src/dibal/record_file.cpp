#include "dibal/record_file.h"

#include <stdexcept>

#include "platform/env.h"

namespace dibal {

void RecordFile::WriteTo(const std::string& target) {
    tempPath_ = platform::TemporaryPathFor(target);
    block_.reserve(kBlock + (kBlock >> 2));
}

void RecordFile::WritePending() {
    if (!opened_) {
        opened_ = true;
        file_.SetPath(tempPath_);
        file_.SetReadOnly(false);
        file_.Open();
        file_.SetPointer(0);
        file_.SetEof();  // a temporary file left by a process of the same number
    }
    file_.Write(block_);
    block_.clear();
}

const std::string& RecordFile::Finish(const std::string& target) {
    if (handedOver_) throw std::logic_error("the record file was handed over already");
    if (tempPath_.empty()) tempPath_ = platform::TemporaryPathFor(target);
    WritePending();
    file_.Close();
    return tempPath_;
}

void RecordFile::Discard() {
    if (!opened_) return;
    opened_ = false;
    try {
        file_.Close();
    } catch (...) {
    }
    static_cast<void>(platform::env().DeleteFile(tempPath_));
}

}  // namespace dibal
