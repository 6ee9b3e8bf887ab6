// BlockLineReader: lines of a file read block by block.
#include "exportdata/line_reader.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "runtime/exceptions.h"

BlockLineReader::BlockLineReader(const std::string& path, size_t blockSize)
    : path_(path),
      buffer_(std::make_unique_for_overwrite<char[]>(blockSize < 16 ? 16 : blockSize)),
      capacity_(blockSize < 16 ? 16 : blockSize) {
    // The runtime's file object's own words.
    if (!platform::env().OpenFile(path, platform::FileMode::Read, file_))
        throw EInOutError("Cannot open file \"" + path + "\"");
}

void BlockLineReader::Rewind() {
    if (!file_->Seek(0, SEEK_SET))
        throw EInOutError("Cannot read file \"" + path_ + "\"");  // the runtime's text
    begin_ = end_ = 0;
    eof_ = false;
}

bool BlockLineReader::Fill() {
    if (eof_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {  // a line longer than a block
        auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
        std::memcpy(larger.get(), buffer_.get(), end_);
        buffer_ = std::move(larger);
        capacity_ *= 2;
    }
    size_t got = 0;
    if (!file_->Read(buffer_.get() + end_, capacity_ - end_, got))
        throw EInOutError("Cannot read file \"" + path_ + "\"");  // the runtime's text
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool BlockLineReader::Buffered(std::string_view& line, bool& crlf) {
    const char* data = buffer_.get();
    const size_t avail = end_ - begin_;
    const char* start = data + begin_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
    const size_t scan = lf ? static_cast<size_t>(lf - start) : avail;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', scan));
    if (cr) {
        // A CR at the very end of the data may be the first half of CR LF.
        if (cr + 1 == data + end_ && !eof_) return false;
        const size_t len = static_cast<size_t>(cr - start);
        crlf = cr + 1 < data + end_ && cr[1] == '\n';
        line = std::string_view(start, len);
        begin_ += len + (crlf ? 2 : 1);
        return true;
    }
    crlf = false;
    if (lf) {
        line = std::string_view(start, scan);
        begin_ += scan + 1;
        return true;
    }
    if (!eof_ || avail == 0) return false;
    line = std::string_view(start, avail);  // the last line has no line end
    begin_ = end_;
    return true;
}

bool BlockLineReader::Next(std::string_view& line) {
    bool crlf;
    // Fill moves the unread bytes to the front of the buffer and may reallocate it, so after
    // it the line is looked for again, whether it read anything or found the end.
    while (!Buffered(line, crlf)) {
        if (eof_) return false;
        Fill();
    }
    return true;
}

int BlockLineReader::CountLines(const std::string& path, size_t blockSize) {
    BlockLineReader reader(path, blockSize);
    std::string_view line;
    int count = 0;
    while (count < INT_MAX && reader.Next(line)) ++count;
    return count;
}
