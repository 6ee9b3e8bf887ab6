#include "runtime/mfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

constexpr std::size_t kReadAheadSize = 64 * 1024;
constexpr std::size_t kWholeFileBlock = 4 * 1024 * 1024;

// Position of the first CR or LF in [p, end), or end.
const char* FindLineEnd(const char* p, const char* end) {
    // Two library scans beat a byte loop: the LF first, then a CR before it.
    const auto* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* limit = lf != nullptr ? lf : end;
    const auto* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limit - p)));
    return cr != nullptr ? cr : limit;
}

}  // namespace

TMFile::~TMFile() = default;

void TMFile::Fail(const char* what) const {
    throw EInOutError(std::string(what) + " \"" + path_ + "\"");
}

void TMFile::RequireOpen() const {
    if (file_ == nullptr) Fail("File not open");
}

void TMFile::Open() {
    if (file_ != nullptr) Close();
    const auto mode = readOnly_ ? platform::FileMode::Read : platform::FileMode::ReadWriteCreate;
    if (!platform::env().OpenFile(path_, mode, file_)) Fail("Cannot open file");
    lastOp_ = LastOp::None;
    readPos_ = readLen_ = 0;
}

void TMFile::Close() {
    if (file_ == nullptr) return;
    const bool wrote = lastOp_ == LastOp::Write;
    const std::unique_ptr<platform::File> file = std::move(file_);
    lastOp_ = LastOp::None;
    readPos_ = readLen_ = 0;
    if (!file->Close() && wrote) Fail("Cannot write file");
}

void TMFile::Seek(std::int64_t offset, int origin) {
    if (!file_->Seek(offset, origin)) Fail("Cannot seek in file");
}

void TMFile::DropReadAhead() {
    const std::size_t unread = readLen_ - readPos_;
    readPos_ = readLen_ = 0;
    if (unread != 0) Seek(-static_cast<std::int64_t>(unread), SEEK_CUR);
}

void TMFile::PrepareWrite() {
    if (lastOp_ == LastOp::Read) {
        DropReadAhead();
        Seek(0, SEEK_CUR);
    }
    lastOp_ = LastOp::Write;
}

void TMFile::PrepareRead() {
    if (lastOp_ == LastOp::Write) Seek(0, SEEK_CUR);
    lastOp_ = LastOp::Read;
}

bool TMFile::FillReadAhead() {
    if (readAhead_.size() < kReadAheadSize) readAhead_.resize(kReadAheadSize);
    readPos_ = 0;
    if (!file_->Read(readAhead_.data(), readAhead_.size(), readLen_)) Fail("Cannot read file");
    return readLen_ != 0;
}

std::int64_t TMFile::GetSize() {
    RequireOpen();
    DropReadAhead();
    const std::int64_t position = file_->Tell();
    if (position < 0) Fail("Cannot seek in file");
    Seek(0, SEEK_END);
    const std::int64_t size = file_->Tell();
    if (size < 0) Fail("Cannot seek in file");
    Seek(position, SEEK_SET);
    lastOp_ = LastOp::None;
    return size;
}

void TMFile::SetPointer(std::int64_t position) {
    RequireOpen();
    readPos_ = readLen_ = 0;
    if (position < 0) Fail("Cannot seek in file");
    Seek(position, SEEK_SET);
    lastOp_ = LastOp::None;
}

bool TMFile::ReadLine(std::string& line, const char* /*eol*/) {
    RequireOpen();
    PrepareRead();
    line.clear();
    bool any = false;
    for (;;) {
        if (readPos_ == readLen_ && !FillReadAhead()) return any;
        const char* begin = readAhead_.data() + readPos_;
        const char* end = readAhead_.data() + readLen_;
        const char* stop = FindLineEnd(begin, end);
        line.append(begin, static_cast<std::size_t>(stop - begin));
        readPos_ += static_cast<std::size_t>(stop - begin);
        if (stop == end) {
            any = true;
            continue;
        }
        ++readPos_;
        if (*stop == '\r') {
            // A CR followed by LF is one line end; the LF may be in the next block.
            if (readPos_ == readLen_ && !FillReadAhead()) return true;
            if (readAhead_[readPos_] == '\n') ++readPos_;
        }
        return true;
    }
}

std::size_t TMFile::Read(void* buffer, std::size_t count) {
    RequireOpen();
    PrepareRead();
    // Bytes a line read left ahead come first.
    const std::size_t ahead = std::min(count, readLen_ - readPos_);
    if (ahead != 0) std::memcpy(buffer, readAhead_.data() + readPos_, ahead);
    readPos_ += ahead;
    if (ahead == count) return count;
    std::size_t got = 0;
    if (!file_->Read(static_cast<char*>(buffer) + ahead, count - ahead, got)) Fail("Cannot read file");
    return ahead + got;
}

void TMFile::WriteLine(const std::string& text, const char* eol) {
    Write(text.data(), text.size());
    const char* end = eol != nullptr ? eol : "\r\n";
    Write(end, std::strlen(end));
}

void TMFile::Write(const void* buffer, std::size_t count) {
    RequireOpen();
    if (count == 0) return;
    if (readOnly_) Fail("Cannot write read-only file");
    PrepareWrite();
    if (!file_->Write(buffer, count)) Fail("Cannot write file");
}

void TMFile::SetEof() {
    RequireOpen();
    if (readOnly_) Fail("Cannot write read-only file");
    DropReadAhead();
    const std::int64_t position = file_->Tell();
    if (position < 0 || !file_->Truncate(position) || !file_->Seek(position, SEEK_SET))
        Fail("Cannot truncate file");
    lastOp_ = LastOp::None;
}

void TMFile::ReadStringsFromFile(const std::string& path, std::vector<std::string>& lines,
                                 int bufferSize) {
    std::unique_ptr<platform::File> file;
    if (!platform::env().OpenFile(path, platform::FileMode::Read, file))
        throw EInOutError("Cannot open file \"" + path + "\"");
    const std::size_t blockSize =
        std::max<std::size_t>(kWholeFileBlock, bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 0);
    std::unique_ptr<char[]> block(new char[blockSize]);

    // The file's size lets the first block's line count foretell the list's final length, so
    // that a big file does not move its lines several times while the list grows.
    std::int64_t fileSize = -1;
    if (file->Seek(0, SEEK_END)) fileSize = file->Tell();
    if (!file->Seek(0, SEEK_SET)) throw EInOutError("Cannot read file \"" + path + "\"");
    bool firstBlock = true;

    std::string pending;       // the start of a line cut by the end of a block
    bool havePending = false;
    bool crAtBlockEnd = false; // the previous block ended in CR: skip an LF starting this one
    for (;;) {
        std::size_t n = 0;
        if (!file->Read(block.get(), blockSize, n))
            throw EInOutError("Cannot read file \"" + path + "\"");
        if (n == 0) break;
        const std::size_t linesBefore = lines.size();
        const char* p = block.get();
        const char* const end = p + n;
        if (crAtBlockEnd && *p == '\n') ++p;
        crAtBlockEnd = false;
        // The next LF is searched once and kept, so that lone CRs stay linear.
        const char* nextLf = nullptr;
        while (p != end) {
            if (nextLf == nullptr || nextLf < p) {
                nextLf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
                if (nextLf == nullptr) nextLf = end;
            }
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(nextLf - p)));
            const char* stop = cr != nullptr ? cr : nextLf;
            if (stop == end) {
                pending.append(p, static_cast<std::size_t>(end - p));
                havePending = true;
                break;
            }
            if (havePending) {
                pending.append(p, static_cast<std::size_t>(stop - p));
                lines.push_back(std::move(pending));
                pending.clear();
                havePending = false;
            } else {
                lines.emplace_back(p, static_cast<std::size_t>(stop - p));
            }
            p = stop + 1;
            if (*stop == '\r') {
                if (p == end) crAtBlockEnd = true;
                else if (*p == '\n') ++p;
            }
        }
        if (firstBlock && n == blockSize && fileSize > static_cast<std::int64_t>(n)) {
            const double perByte = static_cast<double>(lines.size() - linesBefore) / static_cast<double>(n);
            const auto expected = static_cast<std::size_t>(perByte * static_cast<double>(fileSize) * 1.05) + 16;
            lines.reserve(linesBefore + expected);
        }
        firstBlock = false;
    }
    if (havePending) lines.push_back(std::move(pending));
}
