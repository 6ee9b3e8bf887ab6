#include "line_reader.h"

#include <cstring>

namespace host {

LineReader::LineReader(const std::string& path, std::size_t block)
    : file_(std::fopen(path.c_str(), "rb")), block_(block > 0 ? block : 1) {
    found_ = file_ != nullptr;
}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::Fill() {
    if (!file_) return false;
    // The unanswered bytes move to the front; a line longer than the buffer doubles it.
    const std::size_t kept = rest_.size();
    const std::size_t offset =
        kept == 0 ? 0 : static_cast<std::size_t>(rest_.data() - buffer_.data());
    if (buffer_.empty())
        buffer_.resize(block_);
    else if (kept == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    if (offset > 0) std::memmove(buffer_.data(), buffer_.data() + offset, kept);
    const std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, file_);
    rest_ = std::string_view(buffer_.data(), kept + got);
    if (got == 0) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

bool LineReader::Next(std::string_view& line) {
    if (unread_) {
        unread_ = false;
        line = last_;
        return true;
    }
    while (true) {
        const std::size_t nl = rest_.find('\n');
        if (nl != std::string_view::npos) {
            line = rest_.substr(0, nl);
            rest_.remove_prefix(nl + 1);
            break;
        }
        if (!Fill()) {
            if (rest_.empty()) return false;
            line = rest_;  // the last line has no line end
            rest_ = {};
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    last_ = line;
    return true;
}

}  // namespace host
