// BlockLineReader: the lines of a text file, read in blocks so that a large file is never held
// in memory as a whole. A line ends at CR LF, LF or a lone CR; a last line without a line end
// counts, an end of file right after a line end adds no empty line.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

class BlockLineReader {
public:
    // Opens the file; a file that cannot be opened throws the runtime's file error.
    explicit BlockLineReader(const std::string& path, size_t blockSize = 1 << 20);
    ~BlockLineReader() = default;
    BlockLineReader(const BlockLineReader&) = delete;
    BlockLineReader& operator=(const BlockLineReader&) = delete;

    // The next line without its line end, valid until the next call; false at the end.
    bool Next(std::string_view& line);
    // The next line as Next gives it, but only when it lies whole in the bytes read so far:
    // false when more must be read first (the bytes handed out so far then stay where they
    // are until Next is called) or at the end. `crlf` tells that the line ended in CR LF, so
    // that those two bytes follow it in memory.
    bool Buffered(std::string_view& line, bool& crlf);
    // Back to the first line of the same open file: a second pass reads what the first read,
    // even if the file was replaced under its name meanwhile.
    void Rewind();

    // Number of lines of the file, counted as Next would hand them out.
    static int CountLines(const std::string& path, size_t blockSize = 1 << 20);

private:
    bool Fill();  // reads more bytes behind the unread ones; false at the end of the file

    std::string path_;
    std::unique_ptr<platform::File> file_;
    // Not zeroed: only bytes read from the file are ever looked at, and a megabyte of zeros per
    // file read would cost more than reading a small file.
    std::unique_ptr<char[]> buffer_;
    size_t capacity_;
    size_t begin_ = 0;  // first unread byte
    size_t end_ = 0;    // one past the last byte read
    bool eof_ = false;
};
