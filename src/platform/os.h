// The system calls behind the default Env, one function each, implemented once per platform
// (posix.cpp, win32.cpp). Only env.cpp and those two files use them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"

namespace platform::os {

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool PathExists(const std::string& path);
Status CreateDirectories(const std::string& path);
Status DeleteFile(const std::string& path);
Status RenameFile(const std::string& from, const std::string& to);
Status ReplaceFile(const std::string& from, const std::string& to);
Status CreateNewFile(const std::string& path, const std::string& data);
std::vector<std::string> FindFiles(const std::string& pattern, bool plainFilesOnly);
std::string ShortPathName(const std::string& path);
Status StartProgram(const std::string& program, const std::string& workDir,
                    std::unique_ptr<StartedProgram>* started);
Status OpenSerialPort(const std::string& name, const SerialSettings& settings,
                      std::unique_ptr<SerialPort>& port);
std::int64_t NowMicros();
LocalTime LocalNow();
void SleepMs(int milliseconds);
bool IsWindowsNT();
unsigned long ProcessId();
Status TryLockFile(const std::string& path, std::unique_ptr<FileLock>& lock);
// The stdio stream of the file at `path` (mode as fopen); null with errno set on failure.
std::FILE* OpenStream(const std::string& path, const char* mode);

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& value);
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

}  // namespace platform::os
