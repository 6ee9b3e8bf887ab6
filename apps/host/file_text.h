// A whole file's bytes for reading: mapped into memory where the system can,
// read at once otherwise. Export files reach hundreds of megabytes, and the
// summary reads each once.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace host {

class FileText {
public:
    FileText() = default;
    explicit FileText(const std::string& path);
    ~FileText();
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    bool Found() const { return found_; }
    std::string_view View() const { return {data_, size_}; }

private:
    bool found_ = false;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr;        // what to unmap, when mapped
    std::unique_ptr<char[]> bytes_;  // what was read, when not mapped
};

}  // namespace host
