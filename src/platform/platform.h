// The operating-system layer: the Env object (env.h) and the few helpers that need no object:
// path separators, 64-bit positioning of a stdio stream and the owner window of message
// boxes. posix.cpp and win32.cpp implement it; nothing else in the driver includes OS headers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/env.h"

namespace platform {

// The separator that ends a directory and joins file names: '\\' on Windows, '/' elsewhere.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True for either separator this platform accepts in a path.
bool IsPathSeparator(char c);

// 64-bit positioning of a stdio stream (origin SEEK_SET, SEEK_CUR or SEEK_END); -1 / false on
// failure. TruncateFile flushes the stream and cuts its file at `size`.
bool SeekFile(std::FILE* file, std::int64_t offset, int origin);
std::int64_t TellFile(std::FILE* file);
bool TruncateFile(std::FILE* file, std::int64_t size);

// A hint that a large block of memory about to be filled may use large pages, which saves a
// page fault for every few kilobytes of it; nothing where the system has no such hint.
void AdviseLargeBlock(void* address, std::size_t size);

// Owner window of message boxes (set when the host registers the library).
void SetOwnerWindow(void* window);
void* OwnerWindow();
}  // namespace platform
