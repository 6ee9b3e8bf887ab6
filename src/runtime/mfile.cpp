#include "runtime/mfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/platform.h"
#include "runtime/exceptions.h"

namespace {

constexpr std::size_t kReadAheadSize = 64 * 1024;
constexpr std::size_t kStreamBufferSize = 64 * 1024;
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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

TMFile::~TMFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void TMFile::Fail(const char* what) const {
    throw EInOutError(std::string(what) + " \"" + path_ + "\"");
}

void TMFile::RequireOpen() const {
    if (file_ == nullptr) Fail("File not open");
}

void TMFile::Open() {
    if (file_ != nullptr) Close();
    std::FILE* f = nullptr;
    if (platform::env().DirectoryExists(path_)) Fail("Cannot open file");  // stdio would open one
    if (readOnly_) {
        f = std::fopen(path_.c_str(), "rb");
    } else {
        f = std::fopen(path_.c_str(), "r+b");
        if (f == nullptr && errno == ENOENT) {
            // "ab" creates the file without ever truncating one that appeared meanwhile.
            if (std::FILE* created = std::fopen(path_.c_str(), "ab")) {
                std::fclose(created);
                f = std::fopen(path_.c_str(), "r+b");
            }
        }
    }
    if (f == nullptr) Fail("Cannot open file");
    std::setvbuf(f, nullptr, _IOFBF, kStreamBufferSize);
    file_ = f;
    lastOp_ = LastOp::None;
    readPos_ = readLen_ = 0;
}

void TMFile::Close() {
    if (file_ == nullptr) return;
    const bool wrote = lastOp_ == LastOp::Write;
    const int rc = std::fclose(file_);
    file_ = nullptr;
    lastOp_ = LastOp::None;
    readPos_ = readLen_ = 0;
    if (rc != 0 && wrote) Fail("Cannot write file");
}

void TMFile::DropReadAhead() {
    const std::size_t unread = readLen_ - readPos_;
    readPos_ = readLen_ = 0;
    if (unread != 0 && !platform::SeekFile(file_, -static_cast<std::int64_t>(unread), SEEK_CUR))
        Fail("Cannot seek in file");
}

void TMFile::PrepareWrite() {
    if (lastOp_ == LastOp::Read) {
        DropReadAhead();
        if (!platform::SeekFile(file_, 0, SEEK_CUR)) Fail("Cannot seek in file");
    }
    lastOp_ = LastOp::Write;
}

void TMFile::PrepareRead() {
    if (lastOp_ == LastOp::Write && !platform::SeekFile(file_, 0, SEEK_CUR))
        Fail("Cannot seek in file");
    lastOp_ = LastOp::Read;
}

bool TMFile::FillReadAhead() {
    if (readAhead_.size() < kReadAheadSize) readAhead_.resize(kReadAheadSize);
    readPos_ = 0;
    readLen_ = std::fread(readAhead_.data(), 1, readAhead_.size(), file_);
    if (readLen_ == 0 && std::ferror(file_)) Fail("Cannot read file");
    return readLen_ != 0;
}

std::int64_t TMFile::GetSize() {
    RequireOpen();
    DropReadAhead();
    const std::int64_t position = platform::TellFile(file_);
    if (position < 0 || !platform::SeekFile(file_, 0, SEEK_END)) Fail("Cannot seek in file");
    const std::int64_t size = platform::TellFile(file_);
    if (size < 0 || !platform::SeekFile(file_, position, SEEK_SET)) Fail("Cannot seek in file");
    lastOp_ = LastOp::None;
    return size;
}

void TMFile::SetPointer(std::int64_t position) {
    RequireOpen();
    readPos_ = readLen_ = 0;
    if (position < 0 || !platform::SeekFile(file_, position, SEEK_SET)) Fail("Cannot seek in file");
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
    const std::size_t got = std::fread(static_cast<char*>(buffer) + ahead, 1, count - ahead, file_);
    if (got == 0 && std::ferror(file_)) Fail("Cannot read file");
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
    if (std::fwrite(buffer, 1, count, file_) != count) Fail("Cannot write file");
}

void TMFile::SetEof() {
    RequireOpen();
    if (readOnly_) Fail("Cannot write read-only file");
    DropReadAhead();
    const std::int64_t position = platform::TellFile(file_);
    if (position < 0 || !platform::TruncateFile(file_, position) ||
        !platform::SeekFile(file_, position, SEEK_SET))
        Fail("Cannot truncate file");
    lastOp_ = LastOp::None;
}

void TMFile::ReadStringsFromFile(const std::string& path, std::vector<std::string>& lines,
                                 int bufferSize) {
    std::unique_ptr<std::FILE, FileCloser> file(
        platform::env().DirectoryExists(path) ? nullptr : std::fopen(path.c_str(), "rb"));
    if (!file) throw EInOutError("Cannot open file \"" + path + "\"");
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // whole blocks go straight into `block`
    const std::size_t blockSize =
        std::max<std::size_t>(kWholeFileBlock, bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 0);
    std::unique_ptr<char[]> block(new char[blockSize]);

    // The file's size lets the first block's line count foretell the list's final length, so
    // that a big file does not move its lines several times while the list grows.
    std::int64_t fileSize = -1;
    if (platform::SeekFile(file.get(), 0, SEEK_END)) fileSize = platform::TellFile(file.get());
    if (!platform::SeekFile(file.get(), 0, SEEK_SET)) throw EInOutError("Cannot read file \"" + path + "\"");
    bool firstBlock = true;

    std::string pending;       // the start of a line cut by the end of a block
    bool havePending = false;
    bool crAtBlockEnd = false; // the previous block ended in CR: skip an LF starting this one
    for (;;) {
        const std::size_t n = std::fread(block.get(), 1, blockSize, file.get());
        if (n == 0) {
            if (std::ferror(file.get())) throw EInOutError("Cannot read file \"" + path + "\"");
            break;
        }
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
