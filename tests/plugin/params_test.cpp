// Reading configuration parameters: integers and directories.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "probe_action.h"
#include "runtime/exceptions.h"
#include "support/test_host.h"

namespace {

TEST(ParamAsInt, StrictDecimalOrZero) {
    const struct {
        std::string value;
        int expected;
    } cases[] = {
        {" 42 ", 42},        {"12a", 0},         {"", 0},           {"   ", 0},
        {"-7", -7},          {"+5", 5},          {"\t3\r\n", 3},    {"0x1F", 0},
        {"$1F", 0},          {"1 2", 0},         {"-", 0},          {"+", 0},
        {"2147483647", 2147483647},              {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},   {"-2147483649", 0}, {"99999999999999999999", 0},
        {"1.5", 0},          {"007", 7},
    };
    TestHost host;
    auto op = MakeProbe(host);
    for (const auto& c : cases) {
        host.params["P"] = c.value;
        EXPECT_EQ(op->ParamAsInt("P"), c.expected) << "'" << c.value << "'";
    }
}

class ParamAsDir : public ::testing::Test {
protected:
    std::string Dir(const std::string& value) {
        host.params["Dir"] = value;
        return MakeProbe(host)->ParamAsDir("Dir");
    }
    // The message of the exception ParamAsDir raises, or "" when it does not.
    std::string Failure(const std::string& value) {
        try {
            Dir(value);
        } catch (const Exception& e) {
            return e.Message();
        }
        return "";
    }
    TestHost host;
    TempDir temp;
};

TEST_F(ParamAsDir, WritableDirectoryIsReturnedAsReadWithoutTraces) {
    for (const std::string& value : {temp.Path(), temp.WithSeparator()}) {
        EXPECT_EQ(Dir(value), value);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(std::filesystem::is_empty(temp.Path())) << "the probe file is removed";
    }
}

TEST_F(ParamAsDir, MissingDirectoryIsCreatedWithOneMessage) {
    const std::string dir = temp.File("a") + "/b/c";
    EXPECT_EQ(Dir(dir), dir);
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    EXPECT_EQ(host.messages, (std::vector<HostMessage>{
                                 {msgInfo, Cp("Katalog \"") + dir + Cp("\" nie istnieje, próba utworzenia"),
                                  false}}));
}

TEST_F(ParamAsDir, ExistingTestFileIsLeftUntouched) {
    WriteFile(temp.File("test"), "keep me");
    EXPECT_EQ(Dir(temp.Path()), temp.Path());
    EXPECT_EQ(ReadFile(temp.File("test")), "keep me");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              1) << "no probe file is left behind";
}

TEST_F(ParamAsDir, DirectoryThatCannotBeCreatedFails) {
    WriteFile(temp.File("file"), "x");
    const std::string dir = temp.File("file") + "/sub";
    EXPECT_EQ(Failure(dir), Cp("Próba utworzenia katalogu zakończona błędem"));
    EXPECT_EQ(host.messages.size(), 1u) << "the attempt is announced first";
    host.ClearMessages();
    EXPECT_EQ(Failure(""), Cp("Próba utworzenia katalogu zakończona błędem"));
}

TEST_F(ParamAsDir, UnwritableDirectoryFails) {
#if !defined(__linux__)
    GTEST_SKIP() << "needs a directory that even an administrator cannot write";
#endif
    // Not writable even for root.
    EXPECT_EQ(Failure("/proc/self"),
              Cp("Targo nie ma uprawnień do zapisu w katalogu \"/proc/self\", nadaj uprawnienia "
                 "aby kontynuować"));
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
