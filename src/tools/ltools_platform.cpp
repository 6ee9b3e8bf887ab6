// TLTools platform queries: the Windows version test, short path names and the installation
// directory of the host's binaries.
#include "platform/platform.h"
#include "runtime/xtools.h"
#include "tools/ltools.h"

bool TLTools::Is_Win_NT() { return platform::env().IsWindowsNT(); }

std::string TLTools::GetDirShortPath(const std::string& path) {
    std::string shortPath = platform::env().ShortPathName(path);
    return shortPath.empty() ? "0" : shortPath;
}

std::string TLTools::WczytajSciezkeDoBinariow() {
    std::string value;
    try {
        if (!platform::env().ReadRegistryString("SOFTWARE\\VELMOR\\TargoWin\\Instalacja", "Binaria",
                                          value))
            return "";
    } catch (...) {
        return "";
    }
    std::string path = Trim(value);
    if (!path.empty() && path.back() != platform::kPathSeparator) path += platform::kPathSeparator;
    return path;
}
