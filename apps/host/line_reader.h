// The lines of a text in memory or of a file read a block at a time. Reading a file in blocks
// that stay in the processor's cache is several times faster than mapping it, and the summary
// needs each line of the export's files only while it looks at it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}
    // A file that cannot be opened reads as empty; Found() tells. It is read `block` bytes at
    // a time (more for a longer line).
    explicit LineReader(const std::string& path, std::size_t block = std::size_t{1} << 20);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool Found() const { return found_; }
    // The next line without its line end (LF or CR LF); valid until the next call.
    bool Next(std::string_view& line);
    // The next call of Next answers the line it answered last once more.
    void Unread() { unread_ = true; }

private:
    bool Fill();

    std::FILE* file_ = nullptr;
    bool found_ = true;
    std::size_t block_ = 0;
    std::vector<char> buffer_;
    std::string_view rest_;  // bytes not yet answered
    std::string_view last_;
    bool unread_ = false;
};

}  // namespace host
