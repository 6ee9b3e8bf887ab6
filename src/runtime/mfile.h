// TMFile: the runtime's file object. Opened, used and closed within one call; every failure
// throws EInOutError naming the path. The file itself is the platform's (env().OpenFile).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "runtime/api.h"

class SKALNIX_FRAMEWORK_API TMFile {
public:
    TMFile() = default;
    ~TMFile();  // closes
    TMFile(const TMFile&) = delete;
    TMFile& operator=(const TMFile&) = delete;

    void SetPath(const std::string& path) { path_ = path; }
    const std::string& GetPath() const { return path_; }
    // Read-only (the default) opens an existing file for reading; otherwise the file is opened
    // for reading and writing and created when missing.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    void Open();
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    std::int64_t GetSize();
    void SetPointer(std::int64_t position);
    // Reads the next line without its line end; false at the end of the file. A line ends at
    // CR LF, LF or a lone CR (the `eol` argument names the line end the writer used).
    bool ReadLine(std::string& line, const char* eol = "\r\n");
    // Reads up to `count` bytes; answers how many, 0 at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void WriteLine(const std::string& text, const char* eol = "\r\n");
    void Write(const void* buffer, std::size_t count);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Cuts the file at the current position.
    void SetEof();

    // Reads every line of the file (line ends as ReadLine) into `lines`, appending.
    static void ReadStringsFromFile(const std::string& path, std::vector<std::string>& lines,
                                    int bufferSize = 4096);

private:
    enum class LastOp { None, Read, Write };
    [[noreturn]] void Fail(const char* what) const;
    void RequireOpen() const;
    void Seek(std::int64_t offset, int origin);
    void PrepareWrite();   // gives the stream back its logical position before a write
    void PrepareRead();    // stdio needs a seek between a write and a read
    void DropReadAhead();  // moves the stream back over bytes read ahead but not consumed
    bool FillReadAhead();  // false at the end of the file

    std::string path_;
    bool readOnly_ = true;
    std::unique_ptr<platform::File> file_;
    LastOp lastOp_ = LastOp::None;
    // Lines are cut from a block read ahead of the stream's position.
    std::vector<char> readAhead_;
    std::size_t readPos_ = 0, readLen_ = 0;
};
