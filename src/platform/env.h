// The operating system as one object: files, directories, processes, the serial port, the
// registry, the message box, the clock and sleeping. The driver reaches the system only through
// env(); the default object does the real calls (posix.cpp / win32.cpp). Tests put an EnvWrapper
// in its place that overrides only what they need, for example a clock that jumps instead of
// waiting. Paths and texts are Windows-1250 byte strings (the Windows build uses the ANSI API).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

struct SerialSettings {
    int baudRate = 9600;  // bits per second
    int dataBits = 8;     // 5..8
    int parity = 0;       // 0 none, 1 odd, 2 even
    int stopBits = 1;     // 1 or 2
    int readTimeoutMs = 200;
    int writeTimeoutMs = 200;
};

// An open serial port; closed when destroyed.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    virtual Status SetRTS(bool on) = 0;
    virtual Status SetDTR(bool on) = 0;
    virtual Status PutByte(std::uint8_t byte) = 0;  // writes one byte and waits until it has left
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

// A program StartProgram started, for telling whether it still runs. The driver never waits
// for it; it only asks.
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    // False once the program has ended; true while it runs or when it cannot be told.
    virtual bool Running() = 0;
};

// How OpenFile opens a file: for reading only, for reading and writing an existing file, or
// for reading and writing a file created empty when missing (an existing one is never cut).
enum class FileMode { Read, ReadWrite, ReadWriteCreate };

// An open file, positioned like a stdio stream. Destroying it closes it without a word; Close
// says whether the bytes written reached the file.
class File {
public:
    virtual ~File() = default;
    // Reads up to `count` bytes; `got` is 0 at the end of the file.
    virtual Status Read(void* buffer, std::size_t count, std::size_t& got) = 0;
    virtual Status Write(const void* buffer, std::size_t count) = 0;
    // Origin SEEK_SET, SEEK_CUR or SEEK_END; 64-bit offsets.
    virtual Status Seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t Tell() = 0;  // -1 on failure
    // Cuts the file at `size`; the position is left where it was.
    virtual Status Truncate(std::int64_t size) = 0;
    // The file is closed afterwards whatever the answer.
    virtual Status Close() = 0;
};

// An exclusive lock of a file, held by this process while the object lives.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class Env {
public:
    virtual ~Env() = default;

    // ---- files and directories ----
    virtual bool FileExists(const std::string& path) = 0;       // a plain file
    virtual bool DirectoryExists(const std::string& path) = 0;  // an existing directory
    virtual bool PathExists(const std::string& path) = 0;       // anything at that path
    // Creates the directory together with its missing parents; ok when it exists afterwards.
    virtual Status CreateDirectories(const std::string& path) = 0;
    virtual Status DeleteFile(const std::string& path) = 0;
    // Renames; fails when `to` exists.
    virtual Status RenameFile(const std::string& from, const std::string& to) = 0;
    // Moves `from` over `to` in one step: no moment exists without a file at `to`. A failure
    // says whether it was the target that stood in the way (Status::TargetInTheWay).
    virtual Status ReplaceFile(const std::string& from, const std::string& to) = 0;
    // Creates `path` as a new file (fails when it exists) and writes `data` into it.
    virtual Status CreateNewFile(const std::string& path, const std::string& data) = 0;
    // Names (without directory) of the entries matching `pattern` (a path whose last component
    // may hold the wildcards * and ?). With plainFilesOnly, directories, hidden and system
    // entries are left out (on POSIX: names beginning with a dot count as hidden).
    // "." and ".." are never listed.
    virtual std::vector<std::string> FindFiles(const std::string& pattern,
                                               bool plainFilesOnly) = 0;
    // Opens the file at `path` (never a directory); the status names the path on failure.
    virtual Status OpenFile(const std::string& path, FileMode mode,
                            std::unique_ptr<File>& file) = 0;
    // Takes the exclusive lock of the file at `path` (created empty when missing) without
    // waiting: on success `lock` holds it, or stays empty when another process holds it. Other
    // processes' locks only: the lock is advisory (flock / LockFileEx).
    virtual Status TryLockFile(const std::string& path, std::unique_ptr<FileLock>& lock) = 0;
    // Short (8.3) form of an existing path; empty on failure. POSIX: the path when it exists.
    virtual std::string ShortPathName(const std::string& path) = 0;

    // ---- processes ----
    // Starts `program` with working directory `workDir` and does not wait for it. No zombie is
    // left behind. With `started`, it receives what tells whether the program still runs.
    virtual Status StartProgram(const std::string& program, const std::string& workDir,
                                std::unique_ptr<StartedProgram>* started = nullptr) = 0;

    // ---- serial port ----
    // `name` is "COMn"; POSIX maps it to $SKALNIX_COMn, else /dev/ttyS<n-1>.
    virtual Status OpenSerialPort(const std::string& name, const SerialSettings& settings,
                                  std::unique_ptr<SerialPort>& port) = 0;

    // ---- clock ----
    virtual std::int64_t NowMicros() = 0;  // a steady clock: for intervals only
    virtual LocalTime LocalNow() = 0;      // the wall clock, local time
    virtual void SleepMs(int milliseconds) = 0;

    // ---- system ----
    // The Windows version test: true on the NT family (POSIX: true).
    virtual bool IsWindowsNT() = 0;
    // This process's number: what makes a temporary file name its own.
    virtual unsigned long ProcessId() = 0;
    // Reads a REG_SZ value under HKEY_LOCAL_MACHINE\keyPath. False when the key or value is
    // missing or of another type. POSIX: the .reg export named by SKALNIX_REGISTRY.
    virtual bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                                    std::string& value) = 0;
    // A modal message box owned by OwnerWindow(); POSIX writes one line to standard error.
    // Answers the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption,
                           unsigned flags) = 0;
};

// A name beside `path` for writing its next content before it is moved over `path`: the name
// without its extension, this process's number and ".tmp" ("dibal.exp" -> "dibal.1234.tmp"), so
// that two processes writing the same file never write into each other's temporary file.
std::string TemporaryPathFor(const std::string& path);

// The operating system itself.
Env& DefaultEnv();
// The object the driver uses now: DefaultEnv() unless a ScopedEnv is alive.
Env& env();

// Puts `replacement` in place of the current object while alive.
class ScopedEnv {
public:
    explicit ScopedEnv(Env& replacement);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    Env* previous_;
};

// Passes every call to another Env; derive from it and override what a test must change.
class EnvWrapper : public Env {
public:
    explicit EnvWrapper(Env& target) : target_(target) {}
    Env& target() const { return target_; }

    bool FileExists(const std::string& p) override { return target_.FileExists(p); }
    bool DirectoryExists(const std::string& p) override { return target_.DirectoryExists(p); }
    bool PathExists(const std::string& p) override { return target_.PathExists(p); }
    Status CreateDirectories(const std::string& p) override {
        return target_.CreateDirectories(p);
    }
    Status DeleteFile(const std::string& p) override { return target_.DeleteFile(p); }
    Status RenameFile(const std::string& f, const std::string& t) override {
        return target_.RenameFile(f, t);
    }
    Status ReplaceFile(const std::string& f, const std::string& t) override {
        return target_.ReplaceFile(f, t);
    }
    Status CreateNewFile(const std::string& p, const std::string& d) override {
        return target_.CreateNewFile(p, d);
    }
    std::vector<std::string> FindFiles(const std::string& p, bool plain) override {
        return target_.FindFiles(p, plain);
    }
    std::string ShortPathName(const std::string& p) override { return target_.ShortPathName(p); }
    Status StartProgram(const std::string& p, const std::string& d,
                        std::unique_ptr<StartedProgram>* started = nullptr) override {
        return target_.StartProgram(p, d, started);
    }
    Status OpenSerialPort(const std::string& n, const SerialSettings& s,
                          std::unique_ptr<SerialPort>& port) override {
        return target_.OpenSerialPort(n, s, port);
    }
    std::int64_t NowMicros() override { return target_.NowMicros(); }
    LocalTime LocalNow() override { return target_.LocalNow(); }
    void SleepMs(int ms) override { target_.SleepMs(ms); }
    bool IsWindowsNT() override { return target_.IsWindowsNT(); }
    unsigned long ProcessId() override { return target_.ProcessId(); }
    Status TryLockFile(const std::string& p, std::unique_ptr<FileLock>& l) override {
        return target_.TryLockFile(p, l);
    }
    Status OpenFile(const std::string& p, FileMode m, std::unique_ptr<File>& f) override {
        return target_.OpenFile(p, m, f);
    }

    bool ReadRegistryString(const std::string& k, const std::string& n,
                            std::string& v) override {
        return target_.ReadRegistryString(k, n, v);
    }
    int MessageBox(const std::string& t, const std::string& c, unsigned f) override {
        return target_.MessageBox(t, c, f);
    }

private:
    Env& target_;
};

}  // namespace platform
