#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "runtime/scratch_dir.h"

namespace {

// Points SKALNIX_REGISTRY at a .reg file for the life of the fixture.
class RegistryTest : public testing::Test {
protected:
    void Use(const std::string& bytes) { setenv("SKALNIX_REGISTRY", dir.Write("reg.reg", bytes).c_str(), 1); }
    void TearDown() override { unsetenv("SKALNIX_REGISTRY"); }
    static std::string Utf16Le(const std::u16string& text) {
        std::string out = "\xFF\xFE";
        for (char16_t c : text) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>(c >> 8));
        }
        return out;
    }
    ScratchDir dir;
};

struct Lookup {
    const char* key;
    const char* name;
    bool found;
    std::string value;
};

const char* const kAnsi =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Targo]\r\n"
    "\"BinDir\"=\"C:\\\\Targo\\\\bin\\\\\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\" \xB3\"\r\n"
    "\"Expand\"=hex(2):25,00,50,00,00,00\r\n"
    "\"Multi\"=hex(7):41,00,\\\r\n"
    "  00,00\r\n"
    "\"Number\"=dword:00000001\r\n"
    "@=\"default\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Maker\\Targo]\r\n"
    "\"Other\"=\"user\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Targo\\Sub]\r\n"
    "\"Other\"=\"sub\"\r\n";

TEST_F(RegistryTest, AnsiExport) {
    Use(kAnsi);
    const Lookup cases[] = {
        {"SOFTWARE\\Maker\\Targo", "BinDir", true, "C:\\Targo\\bin\\"},
        {"software\\MAKER\\targo", "bindir", true, "C:\\Targo\\bin\\"},
        {"SOFTWARE\\Maker\\Targo\\", "BinDir", true, "C:\\Targo\\bin\\"},
        {"SOFTWARE\\Maker\\Targo", "Quoted", true, "say \"hi\" \xB3"},
        {"SOFTWARE\\Maker\\Targo", "", true, "default"},
        {"SOFTWARE\\Maker\\Targo", "Expand", false, ""},
        {"SOFTWARE\\Maker\\Targo", "Multi", false, ""},
        {"SOFTWARE\\Maker\\Targo", "Number", false, ""},
        {"SOFTWARE\\Maker\\Targo", "Other", false, ""},
        {"SOFTWARE\\Maker\\Targo\\Sub", "Other", true, "sub"},
        {"SOFTWARE\\Maker", "BinDir", false, ""},
        {"SOFTWARE\\Nobody", "BinDir", false, ""},
    };
    for (const Lookup& c : cases) {
        std::string value = "untouched";
        EXPECT_EQ(platform::env().ReadRegistryString(c.key, c.name, value), c.found) << c.key << " " << c.name;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.key << " " << c.name;
        }
    }
}

TEST_F(RegistryTest, Utf16Export) {
    Use(Utf16Le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Targo]\r\n"
                u"\"BinDir\"=\"D:\\\\Programy\\\\Targo ł\"\r\n"
                u"\"Cyrillic\"=\"ж\"\r\n"
                u"\"Path\"=hex(2):25,00\r\n"));
    std::string value;
    ASSERT_TRUE(platform::env().ReadRegistryString("SOFTWARE\\Maker\\Targo", "BinDir", value));
    EXPECT_EQ(value, "D:\\Programy\\Targo \xB3");
    ASSERT_TRUE(platform::env().ReadRegistryString("SOFTWARE\\Maker\\Targo", "Cyrillic", value));
    EXPECT_EQ(value, "?");
    EXPECT_FALSE(platform::env().ReadRegistryString("SOFTWARE\\Maker\\Targo", "Path", value));
}

TEST_F(RegistryTest, MissingOrBrokenFileReadsAsMissingKey) {
    std::string value;
    unsetenv("SKALNIX_REGISTRY");
    EXPECT_FALSE(platform::env().ReadRegistryString("SOFTWARE\\Maker\\Targo", "BinDir", value));
    setenv("SKALNIX_REGISTRY", dir.File("none.reg").c_str(), 1);
    EXPECT_FALSE(platform::env().ReadRegistryString("SOFTWARE\\Maker\\Targo", "BinDir", value));
    Use("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"Open\"=\"no end\r\n\"Bare\r\n[unclosed\r\n");
    EXPECT_FALSE(platform::env().ReadRegistryString("K", "Open", value));
    EXPECT_FALSE(platform::env().ReadRegistryString("K", "Bare", value));
    EXPECT_EQ(value, "");  // a failed read leaves the value alone
}

// Later lines of the file override earlier ones, as an import of it would.
TEST_F(RegistryTest, LaterEntriesWin) {
    Use("REGEDIT4\r\n"
        "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"one\"\r\n\"W\"=\"one\"\r\n\"X\"=\"x\"\r\n"
        "[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"two\"\r\n\"W\"=dword:00000002\r\n\"X\"=-\r\n"
        "[HKEY_LOCAL_MACHINE\\B]\r\n\"V\"=\"b\"\r\n"
        "[-HKEY_LOCAL_MACHINE\\B]\r\n");
    std::string value = "kept";
    EXPECT_TRUE(platform::env().ReadRegistryString("A", "V", value));
    EXPECT_EQ(value, "two");
    value = "kept";
    EXPECT_FALSE(platform::env().ReadRegistryString("A", "W", value));
    EXPECT_FALSE(platform::env().ReadRegistryString("A", "X", value));
    EXPECT_FALSE(platform::env().ReadRegistryString("B", "V", value));
    EXPECT_EQ(value, "kept");
}

}  // namespace
