// The POSIX implementation of the operating-system layer.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/cp1250_table.h"
#include "platform/cp1250_text.h"
#include "platform/os.h"
#include "platform/platform.h"

namespace platform {

namespace {

// Paths cross this layer in Windows-1250, like every text of the driver; the system names files
// in UTF-8. Names the system hands back go the other way (FileNameFromUtf8).
std::string OsName(const std::string& path) { return Cp1250ToUtf8(path); }

bool StatPath(const std::string& path, struct stat& st) {
    return !path.empty() && ::stat(OsName(path).c_str(), &st) == 0;
}

// Directory part ("." when there is none) and last component of a path.
void SplitPath(const std::string& path, std::string& dir, std::string& name) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        dir = ".";
        name = path;
    } else {
        dir = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

// Only * and ? are wildcards in a file pattern; everything else matches itself.
std::string EscapeForFnmatch(const std::string& pattern) {
    if (pattern == "*.*") return "*";  // every name, with or without an extension
    std::string out;
    for (char c : pattern) {
        if (c == '[' || c == ']' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The one translation of a failed POSIX call: what was attempted, on which path, and the
// system's own text for errno.
Status PosixError(const char* what, const std::string& path, int error) {
    return Status::Error(std::string(what) + " \"" + path + "\": " + std::strerror(error));
}

}  // namespace

bool IsPathSeparator(char c) { return c == '/'; }

namespace os {

bool FileExists(const std::string& path) {
    struct stat st;
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st;
    return StatPath(path, st);
}

Status CreateDirectories(const std::string& path) {
    if (path.empty()) return PosixError("Cannot create directory", path, ENOENT);
    if (DirectoryExists(path)) return Status();
    // Create every prefix that ends before a separator, then the whole path.
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '/') continue;
        const std::string prefix = path.substr(0, i);
        if (prefix.empty() || prefix.back() == '/') continue;
        if (::mkdir(OsName(prefix).c_str(), 0777) != 0 && errno != EEXIST)
            return PosixError("Cannot create directory", prefix, errno);
    }
    return DirectoryExists(path) ? Status() : PosixError("Cannot create directory", path, ENOTDIR);
}

Status DeleteFile(const std::string& path) {
    if (path.empty()) return PosixError("Cannot delete file", path, ENOENT);
    if (DirectoryExists(path)) return PosixError("Cannot delete file", path, EISDIR);
    if (::unlink(OsName(path).c_str()) != 0) return PosixError("Cannot delete file", path, errno);
    return Status();
}

Status RenameFile(const std::string& from, const std::string& to) {
    if (from.empty() || !PathExists(from)) return PosixError("Cannot rename file", from, ENOENT);
    if (to.empty() || PathExists(to)) return PosixError("Cannot rename file to", to, EEXIST);
    if (::rename(OsName(from).c_str(), OsName(to).c_str()) != 0)
        return PosixError("Cannot rename file", from, errno);
    return Status();
}

// rename(2) replaces the target atomically. A failure is the target's when the source is
// there and something at the target refused to go (a directory, a busy or protected entry).
Status ReplaceFile(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return PosixError("Cannot rename file", from, ENOENT);
    if (::rename(OsName(from).c_str(), OsName(to).c_str()) == 0) return Status();
    const int error = errno;
    if (PathExists(from) && PathExists(to)) {
        Status failed = PosixError("Cannot replace file", to, error);
        return Status::Error(failed.message(), true);
    }
    return PosixError("Cannot rename file", from, error);
}

Status CreateNewFile(const std::string& path, const std::string& data) {
    if (path.empty()) return PosixError("Cannot create file", path, ENOENT);
    const std::string osPath = OsName(path);
    const int fd = ::open(osPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return PosixError("Cannot create file", path, errno);
    const int writeError = WriteAll(fd, data.data(), data.size()) ? 0 : errno;
    const int closeError = ::close(fd) == 0 ? 0 : errno;
    if (writeError != 0 || closeError != 0) {
        ::unlink(osPath.c_str());  // never leave a half-written file under the new name
        return PosixError("Cannot write file", path, writeError != 0 ? writeError : closeError);
    }
    return Status();
}

std::vector<std::string> FindFiles(const std::string& pattern, bool plainFilesOnly) {
    std::vector<std::string> names;
    std::string dir, mask;
    SplitPath(pattern, dir, mask);
    if (mask.empty()) return names;
    const std::string fnPattern = EscapeForFnmatch(OsName(mask));
    const std::string osDir = OsName(dir);
    DIR* d = ::opendir(osDir.c_str());
    if (d == nullptr) return names;
    while (const dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (::fnmatch(fnPattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
        if (plainFilesOnly) {
            if (name[0] == '.') continue;
            struct stat st;
            const std::string full = (osDir == "/" ? std::string("/") : osDir + "/") + name;
            if (::stat(full.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        }
        names.push_back(FileNameFromUtf8(name));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ShortPathName(const std::string& path) { return PathExists(path) ? path : std::string(); }

namespace {

// A program adopted by init: asked by its process number. A zombie not yet reaped has ended.
class PosixStartedProgram : public StartedProgram {
public:
    explicit PosixStartedProgram(pid_t pid) : pid_(pid) {}
    bool Running() override {
        const std::string stat = "/proc/" + std::to_string(pid_) + "/stat";
        if (std::FILE* f = std::fopen(stat.c_str(), "r")) {
            char line[512] = {};
            const std::size_t n = std::fread(line, 1, sizeof line - 1, f);
            std::fclose(f);
            const char* close = std::strrchr(line, ')');
            if (n > 0 && close != nullptr && close[1] == ' ')
                return close[2] != 'Z' && close[2] != 'X';
        }
        return ::kill(pid_, 0) == 0 || errno == EPERM;
    }

private:
    pid_t pid_;
};

// What the children report through the pipe: the program's number, or why it did not start.
struct StartReport {
    int kind;  // kStarted or kFailed
    int value;
};
constexpr int kStarted = 1, kFailed = 2;

void Report(int fd, int kind, int value) {
    const StartReport report{kind, value};
    (void)!::write(fd, &report, sizeof report);
}

}  // namespace

// Double fork: the intermediate child exits at once and is reaped here, the program itself is
// adopted by init, so nothing is left for the driver to wait for. A close-on-exec pipe carries
// the program's number and, when the exec fails, the reason.
Status StartProgram(const std::string& program, const std::string& workDir,
                    std::unique_ptr<StartedProgram>* started) {
    if (started) started->reset();
    if (program.empty()) return PosixError("Cannot start program", program, ENOENT);
    // A relative program name means the driver's current directory, not the new working one.
    std::string absolute = OsName(program);
    if (program[0] != '/') {
        char* cwd = ::getcwd(nullptr, 0);
        if (cwd == nullptr) return PosixError("Cannot start program", program, errno);
        absolute = std::string(cwd) + "/" + absolute;
        std::free(cwd);
    }
    const std::string osWorkDir = OsName(workDir);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return PosixError("Cannot start program", program, errno);
    // Everything the children need is prepared before fork: they may only make plain calls.
    const char* path = absolute.c_str();
    const char* dir = osWorkDir.empty() ? nullptr : osWorkDir.c_str();
    char* const argv[] = {const_cast<char*>(path), nullptr};

    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return PosixError("Cannot start program", program, error);
    }
    if (child == 0) {
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            if (grandchild < 0)
                Report(report[1], kFailed, errno);
            else
                Report(report[1], kStarted, static_cast<int>(grandchild));
            ::_exit(0);
        }
        ::setsid();
        // Like a program started on Windows, it gets none of the host's open files.
        const unsigned keep = static_cast<unsigned>(report[1]);
        if (keep > 3) ::close_range(3, keep - 1, 0);
        ::close_range(keep + 1, ~0U, 0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        int error = 0;
        if (dir != nullptr && ::chdir(dir) != 0) {
            error = errno;
        } else {
            ::execv(path, argv);
            error = errno;
        }
        Report(report[1], kFailed, error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    pid_t pid = -1;
    int failure = 0;
    while (true) {
        StartReport message{};
        ssize_t n;
        do {
            n = ::read(report[0], &message, sizeof message);
        } while (n < 0 && errno == EINTR);
        if (n == 0) break;  // end of file: every report is in
        if (n != static_cast<ssize_t>(sizeof message)) {
            failure = EIO;
            break;
        }
        if (message.kind == kStarted)
            pid = static_cast<pid_t>(message.value);
        else
            failure = message.value;
    }
    ::close(report[0]);
    if (failure != 0 || pid < 0)
        return PosixError("Cannot start program", program, failure != 0 ? failure : EIO);
    if (started) *started = std::make_unique<PosixStartedProgram>(pid);
    return Status();
}

bool IsWindowsNT() { return true; }

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

namespace {

class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { ::close(fd_); }  // closing the file gives the lock up

private:
    int fd_;
};

}  // namespace

Status TryLockFile(const std::string& path, std::unique_ptr<FileLock>& lock) {
    lock.reset();
    const int fd = ::open(OsName(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return PosixError("Cannot lock file", path, errno);
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        lock = std::make_unique<PosixFileLock>(fd);
        return Status();
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return Status();  // another process holds it
    return PosixError("Cannot lock file", path, error);
}


std::int64_t NowMicros() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void SleepMs(int milliseconds) {
    if (milliseconds <= 0) return;
    timespec request{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&request, &request) != 0 && errno == EINTR) {
    }
}

LocalTime LocalNow() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    const time_t seconds = ts.tv_sec;
    struct tm tm {};
    ::localtime_r(&seconds, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second is shown as :59
    t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return t;
}

}  // namespace os

void AdviseLargeBlock(void* address, std::size_t size) {
    // Whole 2 MiB pages inside the block may be large pages; then the block's pages are made
    // present in one call. Faulting them in one by one costs far more, most of all in a virtual
    // machine. Both hints fail harmlessly where unsupported.
    const auto start = reinterpret_cast<std::uintptr_t>(address);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLarge = std::uintptr_t{1} << 21;
    const auto begin = (start + kLarge - 1) & ~(kLarge - 1);
    const auto end = (start + size) & ~(kLarge - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    // From the page holding the first byte to the end of the one holding the last: all of it
    // belongs to the block's mapping.
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    if (size > 0 && page > 0) {
        const auto first = start & ~(page - 1);
        const auto last = (start + size + page - 1) & ~(page - 1);
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    }
#endif
    (void)start;
    (void)size;
}

namespace os {

std::FILE* OpenStream(const std::string& path, const char* mode) {
    if (path.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return std::fopen(OsName(path).c_str(), mode);
}

}  // namespace os

bool SeekFile(std::FILE* file, std::int64_t offset, int origin) {
    return file != nullptr && ::fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t TellFile(std::FILE* file) {
    return file == nullptr ? -1 : static_cast<std::int64_t>(::ftello(file));
}

bool TruncateFile(std::FILE* file, std::int64_t size) {
    if (file == nullptr || size < 0 || std::fflush(file) != 0) return false;
    return ::ftruncate(::fileno(file), static_cast<off_t>(size)) == 0;
}

// ---- registry: a .reg export ----

namespace os {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string StripTrailingBackslashes(std::string s) {
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

// UTF-16LE (after the byte-order mark) to Windows-1250; '?' for what the code page lacks.
std::string Utf16ToCp1250(const std::string& bytes, std::size_t start) {
    std::string out;
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = static_cast<unsigned char>(bytes[i]) |
                              (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A surrogate pair is one character outside the code page.
            if (unit <= 0xDBFF && i + 3 < bytes.size()) {
                const unsigned next = static_cast<unsigned char>(bytes[i + 2]) |
                                      (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 3])) << 8);
                if (next >= 0xDC00 && next <= 0xDFFF) i += 2;
            }
            out.push_back('?');
            continue;
        }
        const int b = CodePointToCp1250(unit);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

// A quoted .reg string at text[pos] ('"' there); \\ and \" are the escapes. False when the
// closing quote is missing.
bool ReadQuoted(const std::string& text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size()) {
            out.push_back(text[++pos]);
        } else {
            out.push_back(c);
        }
    }
    return false;
}

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& value) {
    const char* file = std::getenv("SKALNIX_REGISTRY");
    if (file == nullptr || *file == '\0') return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE)
        text = Utf16ToCp1250(raw, 2);
    else
        text.swap(raw);

    const std::string wantedKey =
        StripTrailingBackslashes("HKEY_LOCAL_MACHINE\\" + keyPath);
    bool inKey = false, found = false;
    std::string result;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        std::size_t b = 0;
        while (b < line.size() && (line[b] == ' ' || line[b] == '\t')) ++b;
        if (b == line.size()) continue;
        if (line[b] == '[') {
            // "[-key]" deletes the key with its values when the file is imported.
            const bool deletes = b + 1 < line.size() && line[b + 1] == '-';
            const std::size_t start = b + (deletes ? 2 : 1);
            const std::size_t close = line.rfind(']');
            const bool matches = close != std::string::npos && close >= start &&
                                 EqualNoCase(StripTrailingBackslashes(line.substr(start, close - start)), wantedKey);
            inKey = matches && !deletes;
            if (matches && deletes) found = false;
            continue;
        }
        if (!inKey) continue;
        std::string name;
        std::size_t pos = b;
        if (line[pos] == '@') {
            ++pos;
        } else if (!ReadQuoted(line, pos, name)) {
            continue;  // a continuation line of a hex value, or a comment
        }
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (!EqualNoCase(name, valueName)) continue;
        // The last entry of the value wins, as when the file is imported; another type
        // (dword:, hex(2): ...) or a deletion ("-") is not a string value.
        found = ReadQuoted(line, pos, result);
    }
    if (found) value = result;
    return found;
}

}  // namespace os

// ---- message box ----

namespace {
void* g_ownerWindow = nullptr;
}

void SetOwnerWindow(void* window) { g_ownerWindow = window; }
void* OwnerWindow() { return g_ownerWindow; }

namespace os {

int MessageBox(const std::string& text, const std::string& caption, unsigned /*flags*/) {
    std::string line = caption + ": " + text;
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';  // one line per message
    }
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return 1;
}

}  // namespace os

// ---- serial port ----

namespace os {

bool BaudConstant(int baud, speed_t& speed) {
    switch (baud) {
        case 300: speed = B300; return true;
        case 600: speed = B600; return true;
        case 1200: speed = B1200; return true;
        case 2400: speed = B2400; return true;
        case 4800: speed = B4800; return true;
        case 9600: speed = B9600; return true;
        case 19200: speed = B19200; return true;
        case 38400: speed = B38400; return true;
        case 57600: speed = B57600; return true;
        case 115200: speed = B115200; return true;
        default: return false;
    }
}

// "COMn" (any case, n >= 1) to $SKALNIX_COMn or /dev/ttyS<n-1>; a path is taken as it is.
std::string DevicePath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (name.size() < 4 || !EqualNoCase(name.substr(0, 3), "com")) return {};
    long number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 9999) return {};
        number = number * 10 + (name[i] - '0');
    }
    if (number < 1) return {};
    const std::string variable = "SKALNIX_COM" + std::to_string(number);
    if (const char* mapped = std::getenv(variable.c_str()); mapped != nullptr && *mapped != '\0')
        return mapped;
    return "/dev/ttyS" + std::to_string(number - 1);
}


class PosixSerialPort : public SerialPort {
public:
    explicit PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixSerialPort() override { Close(); }

    // Modem lines are absent on some devices (a pseudo-terminal): the answer only reports that.
    Status SetRTS(bool on) override { return SetModemLine(TIOCM_RTS, on); }
    Status SetDTR(bool on) override { return SetModemLine(TIOCM_DTR, on); }

    Status PutByte(std::uint8_t byte) override {
        if (fd_ < 0) return PosixError("Cannot write to serial port", path_, EBADF);
        const char c = static_cast<char>(byte);
        if (!WriteAll(fd_, &c, 1)) return PosixError("Cannot write to serial port", path_, errno);
        int rc;
        do {
            rc = ::tcdrain(fd_);
        } while (rc != 0 && errno == EINTR);
        return rc == 0 ? Status() : PosixError("Cannot write to serial port", path_, errno);
    }

    void Close() override {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    bool IsOpen() const override { return fd_ >= 0; }

private:
    Status SetModemLine(int line, bool on) {
        if (fd_ < 0) return PosixError("Cannot set modem line of", path_, EBADF);
        int bits = line;
        if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) != 0)
            return PosixError("Cannot set modem line of", path_, errno);
        return Status();
    }

    int fd_;
    std::string path_;
};

Status OpenSerialPort(const std::string& name, const SerialSettings& settings,
                      std::unique_ptr<SerialPort>& port) {
    port.reset();
    const std::string path = DevicePath(name);
    speed_t speed;
    if (path.empty()) return PosixError("Cannot open serial port", name, ENODEV);
    if (!BaudConstant(settings.baudRate, speed) || settings.dataBits < 5 ||
        settings.dataBits > 8 || settings.parity < 0 || settings.parity > 2 ||
        (settings.stopBits != 1 && settings.stopBits != 2))
        return PosixError("Cannot open serial port", path, EINVAL);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return PosixError("Cannot open serial port", path, errno);
    auto failed = [&] {
        const int error = errno;
        ::close(fd);
        return PosixError("Cannot set up serial port", path, error);
    };
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return failed();
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= sizes[settings.dataBits - 5] | CLOCAL | CREAD;
    if (settings.parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (settings.parity == 2) tio.c_cflag |= PARENB;
    if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    const int tenths = std::clamp(settings.readTimeoutMs / 100, 0, 255);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = static_cast<cc_t>(tenths);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return failed();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return failed();
    port = std::make_unique<PosixSerialPort>(fd, path);
    return Status();
}

}  // namespace os

}  // namespace platform
