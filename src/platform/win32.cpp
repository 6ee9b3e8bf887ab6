// The platform layer on Windows: the ANSI (...A) API, since every text is Windows-1250 bytes.
#include "platform/os.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>

#include <windows.h>
#include <shellapi.h>
#include <io.h>

// windows.h maps these names to their ...A forms; the layer's own functions keep theirs.
#undef DeleteFile
#undef MessageBox
#undef ReplaceFile

namespace platform {

namespace {

// The one translation of a failed Windows call: what was attempted, on which path, and the
// system's own text for the error code.
Status WindowsError(const char* what, const std::string& path, DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string system = length != 0 && text != nullptr ? std::string(text, length)
                                                        : "error " + std::to_string(error);
    if (text != nullptr) LocalFree(text);
    while (!system.empty() && (system.back() == '\r' || system.back() == '\n' || system.back() == ' '))
        system.pop_back();
    return Status::Error(std::string(what) + " \"" + path + "\": " + system);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsPathSeparator(path.back()) && path[path.size() - 2] != ':') {
        path.pop_back();
    }
    return path;
}

void* g_ownerWindow = nullptr;

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

namespace os {

bool FileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

Status CreateDirectories(const std::string& path) {
    if (path.empty()) return WindowsError("Cannot create directory", path, ERROR_PATH_NOT_FOUND);
    const std::string dir = StripTrailingSeparators(path);
    if (DirectoryExists(dir)) return Status();
    const auto cut = dir.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0) {
        const std::string parent = dir.substr(0, cut);
        if (!(parent.size() == 2 && parent[1] == ':')) CreateDirectories(parent);
    }
    const DWORD error = CreateDirectoryA(dir.c_str(), nullptr) ? 0 : GetLastError();
    if (DirectoryExists(dir)) return Status();
    return WindowsError("Cannot create directory", dir, error != 0 ? error : ERROR_DIRECTORY);
}

Status DeleteFile(const std::string& path) {
    if (DeleteFileA(path.c_str()) == 0) return WindowsError("Cannot delete file", path, GetLastError());
    return Status();
}

Status RenameFile(const std::string& from, const std::string& to) {
    if (MoveFileA(from.c_str(), to.c_str()) == 0)
        return WindowsError("Cannot rename file", from, GetLastError());
    return Status();
}

// MoveFileEx replaces the target in one step. A failure is the target's when the source is
// there and something at the target refused to go (a directory, a file in use or read-only).
Status ReplaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return Status();
    const DWORD error = GetLastError();
    if (PathExists(from) && PathExists(to))
        return Status::Error(WindowsError("Cannot replace file", to, error).message(), true);
    return WindowsError("Cannot rename file", from, error);
}

Status CreateNewFile(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return WindowsError("Cannot create file", path, GetLastError());
    DWORD written = 0;
    const BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    const DWORD error = ok ? 0 : GetLastError();
    CloseHandle(h);
    if (!ok || written != data.size())
        return WindowsError("Cannot write file", path, error != 0 ? error : ERROR_WRITE_FAULT);
    return Status();
}

std::vector<std::string> FindFiles(const std::string& pattern, bool plainFilesOnly) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    const DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (plainFilesOnly && (found.dwFileAttributes & excluded)) continue;
        names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

std::string ShortPathName(const std::string& path) {
    const DWORD needed = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::string buffer(needed, '\0');
    const DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) return {};
    buffer.resize(length);
    return buffer;
}

namespace {

class WindowsStartedProgram : public StartedProgram {
public:
    explicit WindowsStartedProgram(HANDLE process) : process_(process) {}
    ~WindowsStartedProgram() override { CloseHandle(process_); }
    bool Running() override { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

private:
    HANDLE process_;
};

}  // namespace

Status StartProgram(const std::string& program, const std::string& workDir,
                    std::unique_ptr<StartedProgram>* started) {
    if (started) started->reset();
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = 0x140;  // keep the process handle, wait for the shell's start-up to finish
    info.lpVerb = "Open";
    info.lpFile = program.c_str();
    info.lpParameters = nullptr;
    info.lpDirectory = workDir.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return WindowsError("Cannot start program", program, GetLastError());
    // The driver never waits for it; the handle only tells whether it still runs. The shell
    // may hand over a running program without a handle: then nothing can be told.
    if (info.hProcess) {
        if (started)
            *started = std::make_unique<WindowsStartedProgram>(info.hProcess);
        else
            CloseHandle(info.hProcess);
    }
    return Status();
}

}  // namespace os

namespace os {

std::FILE* OpenStream(const std::string& path, const char* mode) {
    if (path.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return std::fopen(path.c_str(), mode);  // the ANSI name, as every path of this build
}

}  // namespace os

bool SeekFile(std::FILE* file, std::int64_t offset, int origin) {
    return file != nullptr && _fseeki64(file, offset, origin) == 0;
}

std::int64_t TellFile(std::FILE* file) { return file == nullptr ? -1 : _ftelli64(file); }

bool TruncateFile(std::FILE* file, std::int64_t size) {
    if (file == nullptr || size < 0 || std::fflush(file) != 0) return false;
    return _chsize_s(_fileno(file), size) == 0;
}

void AdviseLargeBlock(void*, std::size_t) {}

namespace os {

void SleepMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds)); }

std::int64_t NowMicros() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<std::int64_t>(counter.QuadPart / frequency.QuadPart * 1000000 +
                                     counter.QuadPart % frequency.QuadPart * 1000000 /
                                         frequency.QuadPart);
}

LocalTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

bool IsWindowsNT() { return (GetVersion() & 0x80000000u) == 0; }

unsigned long ProcessId() { return GetCurrentProcessId(); }

namespace {

class WindowsFileLock : public FileLock {
public:
    explicit WindowsFileLock(HANDLE file) : file_(file) {}
    ~WindowsFileLock() override { CloseHandle(file_); }  // closing the file gives the lock up

private:
    HANDLE file_;
};

}  // namespace

Status TryLockFile(const std::string& path, std::unique_ptr<FileLock>& lock) {
    lock.reset();
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WindowsError("Cannot lock file", path, GetLastError());
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        lock = std::make_unique<WindowsFileLock>(file);
        return Status();
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return Status();
    return WindowsError("Cannot lock file", path, error);
}


bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        std::string buffer(size + 1, '\0');
        DWORD got = size;
        if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &got) == ERROR_SUCCESS &&
            type == REG_SZ) {
            buffer.resize(got < buffer.size() ? got : buffer.size());
            while (!buffer.empty() && buffer.back() == '\0') buffer.pop_back();
            value = buffer;
            ok = true;
        }
    }
    RegCloseKey(key);
    return ok;
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxA(static_cast<HWND>(g_ownerWindow), text.c_str(), caption.c_str(), flags);
}

// ---- Serial port ----

class WindowsSerialPort : public SerialPort {
public:
    WindowsSerialPort(HANDLE handle, std::string name) : handle_(handle), name_(std::move(name)) {}
    ~WindowsSerialPort() override { Close(); }

    Status SetRTS(bool on) override { return Escape(on ? SETRTS : CLRRTS); }
    Status SetDTR(bool on) override { return Escape(on ? SETDTR : CLRDTR); }

    Status PutByte(std::uint8_t byte) override {
        if (!IsOpen()) return WindowsError("Cannot write to serial port", name_, ERROR_INVALID_HANDLE);
        DWORD written = 0;
        if (!WriteFile(handle_, &byte, 1, &written, nullptr) || written != 1)
            return WindowsError("Cannot write to serial port", name_, GetLastError());
        FlushFileBuffers(handle_);  // waits until the byte has left
        return Status();
    }

    void Close() override {
        if (IsOpen()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

private:
    Status Escape(DWORD function) {
        if (!IsOpen() || EscapeCommFunction(handle_, function) == 0)
            return WindowsError("Cannot set modem line of", name_,
                                IsOpen() ? GetLastError() : ERROR_INVALID_HANDLE);
        return Status();
    }

    HANDLE handle_;
    std::string name_;
};

Status OpenSerialPort(const std::string& name, const SerialSettings& settings,
                      std::unique_ptr<SerialPort>& port) {
    port.reset();
    const std::string device = "\\\\.\\" + name;
    HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return WindowsError("Cannot open serial port", name, GetLastError());
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    bool ok = GetCommState(h, &dcb) != 0;
    if (ok) {
        dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
        dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
        dcb.Parity = static_cast<BYTE>(settings.parity == 1 ? ODDPARITY
                                       : settings.parity == 2 ? EVENPARITY
                                                              : NOPARITY);
        dcb.StopBits = static_cast<BYTE>(settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT);
        dcb.fBinary = TRUE;
        dcb.fParity = settings.parity != 0;
        ok = SetCommState(h, &dcb) != 0;
    }
    if (!ok) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return WindowsError("Cannot set up serial port", name, error);
    }
    SetupComm(h, 2048, 2048);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = static_cast<DWORD>(settings.readTimeoutMs);
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(settings.readTimeoutMs);
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(settings.writeTimeoutMs);
    SetCommTimeouts(h, &timeouts);
    port = std::make_unique<WindowsSerialPort>(h, name);
    return Status();
}

}  // namespace os

void SetOwnerWindow(void* window) { g_ownerWindow = window; }
void* OwnerWindow() { return g_ownerWindow; }

}  // namespace platform
