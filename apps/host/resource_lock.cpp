#include "resource_lock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "textconv.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace host {

namespace {

// FNV-1a: a file name from any text, the same in every process.
std::uint64_t Hash(const std::string& text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

// One attempt: 1 taken, 0 held by another process, -1 the lock file cannot be used.
int TryTake(const std::string& path, void*& handle) {
#if defined(_WIN32)
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        handle = file;
        return 1;
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? 0 : -1;
#else
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
        return 1;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK || error == EINTR ? 0 : -1;
#endif
}

}  // namespace

std::string ResourceLock::CanonicalName(const std::string& name) {
    // The driver names its resource as the user spelled it (a DibalCom directory as stored in
    // its parameter); every spelling of one existing directory must meet the same lock. Other
    // names (a port) stay as they are.
    namespace fs = std::filesystem;
    std::error_code ec;
#if defined(_WIN32)
    const fs::path path(name);  // the ANSI name, as the driver hands it over
#else
    const fs::path path(Cp1250ToUtf8(name));
#endif
    if (name.empty() || !fs::is_directory(path, ec)) return name;
    const fs::path canonical = fs::canonical(path, ec);
    if (ec) return name;
#if defined(_WIN32)
    std::string folded = canonical.string();
    if (!folded.empty()) CharLowerBuffA(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
#else
    return canonical.string();
#endif
}

std::string ResourceLock::PathFor(const std::string& name) {
    char file[64];
    std::snprintf(file, sizeof file, "skalnix-host-%016llx.lock",
                  static_cast<unsigned long long>(Hash(CanonicalName(name))));
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    return ((ec ? std::filesystem::path(".") : dir) / file).string();
}

bool ResourceLock::Take(const std::string& name, const std::function<void()>& waiting,
                        const std::function<bool()>& giveUp, std::chrono::milliseconds poll) {
    if (name.empty() || handle_ != nullptr) return true;
    const std::string path = PathFor(name);
    for (bool told = false;;) {
        const int taken = TryTake(path, handle_);
        // A lock file that cannot be used leaves the driver's own lock to keep order.
        if (taken != 0) return true;
        if (!told) {
            waiting();
            told = true;
        }
        if (giveUp()) return false;
        std::this_thread::sleep_for(poll);
    }
}

ResourceLock::~ResourceLock() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    CloseHandle(static_cast<HANDLE>(handle_));
#else
    ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(handle_) - 1));
#endif
}

}  // namespace host
