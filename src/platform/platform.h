// The operating-system layer: one thin call per OS facility, errors reported, no policy.
// posix.cpp and win32.cpp implement it; nothing else in the driver includes OS headers.
// Paths and texts are Windows-1250 byte strings (the Windows build uses the ANSI API).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The separator that ends a directory and joins file names: '\\' on Windows, '/' elsewhere.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True for either separator this platform accepts in a path.
bool IsPathSeparator(char c);

bool FileExists(const std::string& path);       // a plain file (not a directory)
bool DirectoryExists(const std::string& path);  // an existing directory
bool PathExists(const std::string& path);       // anything at that path
// Creates the directory together with its missing parents; true when it exists afterwards.
bool CreateDirectories(const std::string& path);
bool DeleteFile(const std::string& path);
// Renames; fails when `to` exists.
bool RenameFile(const std::string& from, const std::string& to);
// Creates `path` as a new file (fails when it exists) and writes `data` into it.
bool CreateNewFile(const std::string& path, const std::string& data);

// Names (without directory) of the entries matching `pattern` (a path whose last component
// may hold the wildcards * and ?). With plainFilesOnly, directories, hidden and system
// entries are left out (on POSIX: names beginning with a dot count as hidden).
// "." and ".." are never listed.
std::vector<std::string> FindFiles(const std::string& pattern, bool plainFilesOnly);

// Short (8.3) form of an existing path; empty on failure. POSIX: the path itself when it exists.
std::string ShortPathName(const std::string& path);

// Starts `program` with working directory `workDir` and does not wait for it. No zombie is
// left behind. False when it could not be started.
bool StartProgram(const std::string& program, const std::string& workDir);

// 64-bit positioning of a stdio stream (origin SEEK_SET, SEEK_CUR or SEEK_END); -1 / false on
// failure. TruncateFile flushes the stream and cuts its file at `size`.
bool SeekFile(std::FILE* file, std::int64_t offset, int origin);
std::int64_t TellFile(std::FILE* file);
bool TruncateFile(std::FILE* file, std::int64_t size);

void SleepMs(int milliseconds);

// A hint that a large block of memory about to be filled may use large pages, which saves a
// page fault for every few kilobytes of it; nothing where the system has no such hint.
void AdviseLargeBlock(void* address, std::size_t size);

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};
LocalTime Now();

// The Windows version test: true on the NT family (POSIX: true).
bool IsWindowsNT();

// Reads a REG_SZ value under HKEY_LOCAL_MACHINE\keyPath. False when the key or value is missing
// or of another type. POSIX: the .reg export named by the SKALNIX_REGISTRY variable.
bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& value);

// Owner window of message boxes (set when the host registers the library).
void SetOwnerWindow(void* window);
void* OwnerWindow();
// A modal message box; POSIX writes one line to standard error. Answers the button pressed.
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

// A serial port. `name` is "COMn"; POSIX maps it to $SKALNIX_COMn, else /dev/ttyS<n-1>.
struct SerialSettings {
    int baudRate = 9600;  // bits per second
    int dataBits = 8;     // 5..8
    int parity = 0;       // 0 none, 1 odd, 2 even
    int stopBits = 1;     // 1 or 2
    int readTimeoutMs = 200;
    int writeTimeoutMs = 200;
};
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool Open(const std::string& name, const SerialSettings& settings);
    bool SetRTS(bool on);
    bool SetDTR(bool on);
    bool PutByte(std::uint8_t byte);  // writes one byte and waits until it has been sent
    void Close();
    bool IsOpen() const;

private:
    std::intptr_t handle_;
};

}  // namespace platform
