// TLTools platform queries: the host's binaries directory from the registry, short paths.
#include "platform/platform.h"
#include "support/test_host.h"
#include "tools/ltools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

#if !defined(_WIN32)
// The POSIX build reads the registry from the .reg file named by SKALNIX_REGISTRY.

// Points the registry at a .reg file for the life of the object.
class RegistryFile {
public:
    explicit RegistryFile(const std::string& body) {
        const char* old = std::getenv("SKALNIX_REGISTRY");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        WriteFile(dir_.File("machine.reg"), body);
        setenv("SKALNIX_REGISTRY", dir_.File("machine.reg").c_str(), 1);
    }
    ~RegistryFile() {
        if (hadOld_)
            setenv("SKALNIX_REGISTRY", old_.c_str(), 1);
        else
            unsetenv("SKALNIX_REGISTRY");
    }

private:
    TempDir dir_;
    bool hadOld_ = false;
    std::string old_;
};

const std::string kKey =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMOR\\TargoWin\\Instalacja]\r\n";
const std::string kSep(1, platform::kPathSeparator);

TEST(LToolsPlatform, BinariesDirectoryFromTheRegistry) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"Binaria\"=\"/opt/targo/bin \"\r\n", "/opt/targo/bin" + kSep},
        {"\"Binaria\"=\"  /opt/targo/bin" + kSep + "\t\"\r\n", "/opt/targo/bin" + kSep},
        {"\"Binaria\"=\"C:\\\\Prog\\\\Bin \"\r\n", "C:\\Prog\\Bin" + kSep},
        {"\"Binaria\"=\"   \"\r\n", ""},
        {"\"Binaria\"=\"\"\r\n", ""},
        {"\"Inne\"=\"/opt/targo/bin\"\r\n", ""},
        {"\"Binaria\"=dword:00000001\r\n", ""},
        {"\"Binaria\"=hex(2):2f,00,6f,00,70,00,74,00,00,00\r\n", ""},  // expandable: not taken
    };
    for (const auto& [values, path] : cases) {
        RegistryFile registry(kKey + values);
        EXPECT_EQ(TLTools::WczytajSciezkeDoBinariow(), path) << values;
    }
}

TEST(LToolsPlatform, BinariesDirectoryWithoutKeyOrRegistry) {
    {
        RegistryFile other(
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMOR\\TargoWin]\r\n"
            "\"Binaria\"=\"/opt/targo/bin\"\r\n");
        EXPECT_EQ(TLTools::WczytajSciezkeDoBinariow(), "");
    }
    {
        RegistryFile registry(kKey + "\"Binaria\"=\"/x\"\r\n");
        unsetenv("SKALNIX_REGISTRY");
        EXPECT_EQ(TLTools::WczytajSciezkeDoBinariow(), "");
    }
}

#endif  // !_WIN32

TEST(LToolsPlatform, ShortPathOrZero) {
    TempDir dir;
    EXPECT_EQ(TLTools::GetDirShortPath(dir.File("missing")), "0");
#if !defined(_WIN32)
    EXPECT_EQ(TLTools::GetDirShortPath(dir.Path()), dir.Path());
    EXPECT_TRUE(TLTools::Is_Win_NT());
#else
    EXPECT_NE(TLTools::GetDirShortPath(dir.Path()), "0");
#endif
}

}  // namespace
