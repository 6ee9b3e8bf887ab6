// TLTools file operations: whole-buffer writes, the replacement of a file through a temporary
// name, the guarded rename, the wildcard file test and the save of a text list.
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/mfile.h"
#include "tools/ltools.h"

namespace {
const char kModule[] = "kstools_LTools";
}  // namespace

void TLTools::BufToFile(const std::string& data, const std::string& path) {
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    file.SetPointer(0);
    file.SetEof();
    file.Write(data);
    file.Close();
}

void TLTools::BufToAppendFile(const std::string& data, const std::string& path) {
    TMFile file;
    file.SetPath(path);
    file.SetReadOnly(false);
    file.Open();
    file.SetPointer(file.GetSize());
    file.Write(data);
    file.Close();
}

void TLTools::BufToFileEx(const std::string& data, const std::string& path,
                          const std::string& tempPath, const TMLgExtTools* lg, bool append) {
    // The new content is built complete under the temporary name and then moved over the
    // target, so the target is never seen half-written. A failed append leaves the old content
    // under the temporary name, where the next append picks it up again.
    if (tempPath == path) {
        // Moving a file onto itself deletes it first and would lose it: write in place instead.
        if (append)
            BufToAppendFile(data, path);
        else
            BufToFile(data, path);
        return;
    }
    if (append) {
        if (platform::env().FileExists(path)) RenFile(path, tempPath, lg);
        BufToAppendFile(data, tempPath);
    } else {
        BufToFile(data, tempPath);
    }
    RenFile(tempPath, path, lg);
}

void TLTools::RenFile(const std::string& oldPath, const std::string& newPath,
                      const TMLgExtTools* lg) {
    const platform::Status replaced = platform::env().ReplaceFile(oldPath, newPath);
    if (replaced) return;
    if (replaced.TargetInTheWay())
        throw Exception(GetString(lg, kModule, "sRenFileExceptioAnsiStri", 0,
                                  "Błąd usunięcia pliku ") +
                        newPath);
    throw Exception(GetString(lg, kModule, "sRenFileExceptioAnsiStri_00001", 0,
                              "Błąd zmiany nazwy pliku") +
                    newPath);
}

bool TLTools::IsFile(const std::string& pattern) {
    return !platform::env().FindFiles(pattern, true).empty();
}

void TLTools::SaveListToFile(const std::vector<std::string>* list, const std::string& path) {
    if (list == nullptr) return;
    try {
        if (platform::env().FileExists(path)) platform::env().DeleteFile(path);
        TMFile file;
        file.SetPath(path);
        file.SetReadOnly(false);
        file.Open();
        for (const std::string& line : *list) file.WriteLine(line, "\r\n");
        file.Close();
    } catch (...) {
        // The list is a by-product for the user; failing to save it must not stop the caller.
    }
}
