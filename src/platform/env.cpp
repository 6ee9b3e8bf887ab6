// The default Env (the system calls of os.h), the current Env and its replacement in tests.
#include "platform/env.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <string>

#include "platform/os.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr std::size_t kStreamBufferSize = 64 * 1024;

Status StreamError(const char* what, const std::string& path, int error) {
    return Status::Error(std::string(what) + " \"" + path + "\": " + std::strerror(error));
}

// A file as a buffered stdio stream.
class StreamFile : public File {
public:
    StreamFile(std::FILE* stream, std::string path) : stream_(stream), path_(std::move(path)) {
        std::setvbuf(stream_, nullptr, _IOFBF, kStreamBufferSize);
    }
    ~StreamFile() override {
        if (stream_ != nullptr) std::fclose(stream_);
    }
    Status Read(void* buffer, std::size_t count, std::size_t& got) override {
        got = std::fread(buffer, 1, count, stream_);
        if (got == 0 && count != 0 && std::ferror(stream_))
            return StreamError("Cannot read file", path_, errno);
        return Status();
    }
    Status Write(const void* buffer, std::size_t count) override {
        if (std::fwrite(buffer, 1, count, stream_) != count)
            return StreamError("Cannot write file", path_, errno);
        return Status();
    }
    Status Seek(std::int64_t offset, int origin) override {
        if (!SeekFile(stream_, offset, origin)) return StreamError("Cannot seek in file", path_, errno);
        return Status();
    }
    std::int64_t Tell() override { return TellFile(stream_); }
    Status Truncate(std::int64_t size) override {
        if (!TruncateFile(stream_, size)) return StreamError("Cannot truncate file", path_, errno);
        return Status();
    }
    Status Close() override {
        std::FILE* stream = stream_;
        stream_ = nullptr;
        if (stream != nullptr && std::fclose(stream) != 0)
            return StreamError("Cannot write file", path_, errno);
        return Status();
    }

private:
    std::FILE* stream_;
    std::string path_;
};

Status OpenStreamFile(const std::string& path, FileMode mode, std::unique_ptr<File>& file) {
    file.reset();
    // stdio would open a directory as if it were a file.
    if (os::DirectoryExists(path)) return StreamError("Cannot open file", path, EISDIR);
    std::FILE* stream = os::OpenStream(path, mode == FileMode::Read ? "rb" : "r+b");
    if (stream == nullptr && mode == FileMode::ReadWriteCreate && errno == ENOENT) {
        // "ab" creates the file without ever cutting one that appeared meanwhile.
        if (std::FILE* created = os::OpenStream(path, "ab")) {
            std::fclose(created);
            stream = os::OpenStream(path, "r+b");
        }
    }
    if (stream == nullptr) return StreamError("Cannot open file", path, errno);
    file = std::make_unique<StreamFile>(stream, path);
    return Status();
}

class SystemEnv : public Env {
public:
    bool FileExists(const std::string& p) override { return os::FileExists(p); }
    bool DirectoryExists(const std::string& p) override { return os::DirectoryExists(p); }
    bool PathExists(const std::string& p) override { return os::PathExists(p); }
    Status CreateDirectories(const std::string& p) override { return os::CreateDirectories(p); }
    Status DeleteFile(const std::string& p) override { return os::DeleteFile(p); }
    Status RenameFile(const std::string& f, const std::string& t) override {
        return os::RenameFile(f, t);
    }
    Status ReplaceFile(const std::string& f, const std::string& t) override {
        return os::ReplaceFile(f, t);
    }
    Status CreateNewFile(const std::string& p, const std::string& d) override {
        return os::CreateNewFile(p, d);
    }
    std::vector<std::string> FindFiles(const std::string& p, bool plain) override {
        return os::FindFiles(p, plain);
    }
    std::string ShortPathName(const std::string& p) override { return os::ShortPathName(p); }
    Status StartProgram(const std::string& p, const std::string& d,
                        std::unique_ptr<StartedProgram>* started = nullptr) override {
        return os::StartProgram(p, d, started);
    }
    Status OpenSerialPort(const std::string& n, const SerialSettings& s,
                          std::unique_ptr<SerialPort>& port) override {
        return os::OpenSerialPort(n, s, port);
    }
    std::int64_t NowMicros() override { return os::NowMicros(); }
    LocalTime LocalNow() override { return os::LocalNow(); }
    void SleepMs(int ms) override { os::SleepMs(ms); }
    bool IsWindowsNT() override { return os::IsWindowsNT(); }
    unsigned long ProcessId() override { return os::ProcessId(); }
    Status TryLockFile(const std::string& p, std::unique_ptr<FileLock>& l) override {
        return os::TryLockFile(p, l);
    }
    Status OpenFile(const std::string& p, FileMode m, std::unique_ptr<File>& f) override {
        return OpenStreamFile(p, m, f);
    }

    bool ReadRegistryString(const std::string& k, const std::string& n,
                            std::string& v) override {
        return os::ReadRegistryString(k, n, v);
    }
    int MessageBox(const std::string& t, const std::string& c, unsigned f) override {
        return os::MessageBox(t, c, f);
    }
};

Env* g_current = nullptr;

}  // namespace

Env& DefaultEnv() {
    static SystemEnv env;
    return env;
}

Env& env() { return g_current != nullptr ? *g_current : DefaultEnv(); }

std::string TemporaryPathFor(const std::string& path) {
    std::size_t nameStart = path.size();
    while (nameStart > 0 && !IsPathSeparator(path[nameStart - 1])) --nameStart;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = path.size();
    return path.substr(0, dot) + "." + std::to_string(env().ProcessId()) + ".tmp";
}

ScopedEnv::ScopedEnv(Env& replacement) : previous_(g_current) { g_current = &replacement; }

ScopedEnv::~ScopedEnv() { g_current = previous_; }

}  // namespace platform
