// The platform layer on Windows: the ANSI (...A) API, since every text is Windows-1250 bytes.
#include "platform/platform.h"

#include <windows.h>
#include <shellapi.h>
#include <io.h>

// windows.h maps these names to their ...A forms; the layer's own functions keep theirs.
#undef DeleteFile
#undef MessageBox

namespace platform {

namespace {

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

bool FileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool CreateDirectories(const std::string& path) {
    if (path.empty()) return false;
    const std::string dir = StripTrailingSeparators(path);
    if (DirectoryExists(dir)) return true;
    const auto cut = dir.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0) {
        const std::string parent = dir.substr(0, cut);
        if (!(parent.size() == 2 && parent[1] == ':')) CreateDirectories(parent);
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return DirectoryExists(dir);
}

bool DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool CreateNewFile(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == data.size();
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

bool StartProgram(const std::string& program, const std::string& workDir) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = 0x140;  // keep the process handle, wait for the shell's start-up to finish
    info.lpVerb = "Open";
    info.lpFile = program.c_str();
    info.lpParameters = nullptr;
    info.lpDirectory = workDir.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return false;
    if (info.hProcess) CloseHandle(info.hProcess);  // the driver never waits for it
    return true;
}

bool SeekFile(std::FILE* file, std::int64_t offset, int origin) {
    return file != nullptr && _fseeki64(file, offset, origin) == 0;
}

std::int64_t TellFile(std::FILE* file) { return file == nullptr ? -1 : _ftelli64(file); }

bool TruncateFile(std::FILE* file, std::int64_t size) {
    if (file == nullptr || size < 0 || std::fflush(file) != 0) return false;
    return _chsize_s(_fileno(file), size) == 0;
}

void AdviseLargeBlock(void*, std::size_t) {}

void SleepMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds)); }

LocalTime Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

bool IsWindowsNT() { return (GetVersion() & 0x80000000u) == 0; }

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

void SetOwnerWindow(void* window) { g_ownerWindow = window; }
void* OwnerWindow() { return g_ownerWindow; }

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxA(static_cast<HWND>(g_ownerWindow), text.c_str(), caption.c_str(), flags);
}

// ---- Serial port ----

SerialPort::SerialPort() : handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)) {}
SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsOpen() const {
    return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
}

bool SerialPort::Open(const std::string& name, const SerialSettings& settings) {
    Close();
    const std::string device = "\\\\.\\" + name;
    HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
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
    if (ok) {
        SetupComm(h, 2048, 2048);
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = static_cast<DWORD>(settings.readTimeoutMs);
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(settings.readTimeoutMs);
        timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(settings.writeTimeoutMs);
        SetCommTimeouts(h, &timeouts);
    }
    if (!ok) {
        CloseHandle(h);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return true;
}

bool SerialPort::SetRTS(bool on) {
    return IsOpen() &&
           EscapeCommFunction(reinterpret_cast<HANDLE>(handle_), on ? SETRTS : CLRRTS) != 0;
}

bool SerialPort::SetDTR(bool on) {
    return IsOpen() &&
           EscapeCommFunction(reinterpret_cast<HANDLE>(handle_), on ? SETDTR : CLRDTR) != 0;
}

bool SerialPort::PutByte(std::uint8_t byte) {
    if (!IsOpen()) return false;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    DWORD written = 0;
    if (!WriteFile(h, &byte, 1, &written, nullptr) || written != 1) return false;
    FlushFileBuffers(h);  // waits until the byte has left
    return true;
}

void SerialPort::Close() {
    if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

}  // namespace platform
