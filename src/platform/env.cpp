// The default Env (the system calls of os.h), the current Env and its replacement in tests.
#include "platform/env.h"

#include <string>

#include "platform/os.h"
#include "platform/platform.h"

namespace platform {

namespace {

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
