// Text handling of the host: code-page conversion, the INI reader and the translation table.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "ini.h"
#include "textconv.h"
#include "translations.h"
#include "unique_temp_file.h"

namespace host {
namespace {

TEST(HostTextConv, PolishLettersRoundTrip) {
    struct Case {
        const char* cp1250;
        const char* utf8;
    } cases[] = {
        {"\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F", "ĄĆĘŁŃÓŚŻŹ"},
        {"\xB9\xE6\xEA\xB3\xF1\xF3\x9C\xBF\x9F", "ąćęłńóśżź"},
        {"PLU;12;abc", "PLU;12;abc"},
        {"\x80 \x84 \x96", "€ „ –"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1250ToUtf8(c.cp1250), c.utf8) << c.utf8;
        bool lossless = false;
        EXPECT_EQ(Utf8ToCp1250(c.utf8, &lossless), c.cp1250) << c.utf8;
        EXPECT_TRUE(lossless) << c.utf8;
    }
}

TEST(HostTextConv, UnmappableInputBecomesQuestionMark) {
    EXPECT_EQ(Cp1250ToUtf8("\x81"), "\xEF\xBF\xBD");  // unassigned byte -> U+FFFD
    struct Case {
        std::string utf8;
        std::string cp1250;
    } cases[] = {
        {"a\xE6\x97\xA5z", "a?z"},        // a character without a Windows-1250 form
        {"a\xC3z", "a?z"},                // truncated sequence
        {"\xC0\xAF", "?"},                // overlong encoding of '/': one mark
        {"\xED\xA0\x80", "?"},            // a surrogate
        {"x\xC5", "x?"},                  // sequence cut at the end
    };
    for (const auto& c : cases) {
        bool lossless = true;
        EXPECT_EQ(Utf8ToCp1250(c.utf8, &lossless), c.cp1250);
        EXPECT_FALSE(lossless);
    }
}

TEST(HostIni, ParsesSectionsQuotesAndEscapes) {
    IniFile ini;
    std::string error;
    ASSERT_TRUE(ParseIni("\xEF\xBB\xBF; comment\r\n"
                         "[Host]\r\n"
                         "  exchange =  some dir  \r\n"
                         "# another comment\n"
                         "[driver]\n"
                         "A = \" kept blanks \"\n"
                         "B = line\\r\\nbreak \\\"q\\\" back\\\\slash \\x\n"
                         "C =\n"
                         "D = \"\\\"\"\n",
                         ini, error))
        << error;
    const IniSection* h = ini.Find("host");
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->entries.size(), 1u);
    EXPECT_EQ(h->entries[0].value, "some dir");
    const IniSection* d = ini.Find("DRIVER");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->entries.size(), 4u);
    EXPECT_EQ(d->entries[0].value, " kept blanks ");
    EXPECT_EQ(d->entries[1].value, "line\r\nbreak \"q\" back\\slash \\x");
    EXPECT_EQ(d->entries[2].value, "");
    EXPECT_EQ(d->entries[3].value, "\"");
    EXPECT_EQ(d->entries[3].line, 9);
}

TEST(HostIni, CommentsAfterValuesAreDroppedAsInIniFiles) {
    const struct {
        const char* line;
        const char* value;
    } cases[] = {
        {"k = COM1 ; the port", "COM1"},
        {"k = COM1\t# the port", "COM1"},
        {"k = ; nothing but a comment", ""},
        {"k = a;b#c", "a;b#c"},  // inside a word: part of the value
        {"k = \" kept ; blanks \" ; comment", " kept ; blanks "},
        {"k = \"a \\\" b\"  # comment", "a \" b"},
        {"k = \"not closed ; here", "\"not closed"},
        {"k = \"a\" tail", "\"a\" tail"},  // text after the quote: taken as written
    };
    for (const auto& c : cases) {
        IniFile ini;
        std::string error;
        ASSERT_TRUE(ParseIni(std::string("[s] ; section comment\n") + c.line, ini, error))
            << c.line << " " << error;
        ASSERT_EQ(ini.sections.back().name, "s");
        ASSERT_EQ(ini.sections.back().entries.size(), 1u) << c.line;
        EXPECT_EQ(ini.sections.back().entries[0].value, c.value) << c.line;
    }
}

TEST(HostIni, RejectsMalformedLinesNamingThem) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"[a]\nno equals sign\n", "line 2"},
        {"[a\n", "line 1"},
        {"[a]\n = value\n", "line 2"},
        {"[a] b\n", "line 1"},
    };
    for (const auto& c : cases) {
        IniFile ini;
        std::string error;
        EXPECT_FALSE(ParseIni(c.text, ini, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

class HostTranslations : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& text) {
        const auto path = UniqueTempFile("host_translations", ".ini");
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

TEST_F(HostTranslations, LookupConvertsCutsAndTerminates) {
    Translations t;
    std::string error;
    ASSERT_TRUE(t.Load(Write("[mod]\nkey = \"Zażółć \"\nlong = abcdef\n").string(), error))
        << error;
    char buf[16];
    std::memset(buf, 'X', sizeof buf);
    ASSERT_TRUE(t.Lookup("mod", "key", buf, sizeof buf));
    EXPECT_STREQ(buf, "Za\xBF\xF3\xB3\xE6 ");

    std::memset(buf, 'X', sizeof buf);
    ASSERT_TRUE(t.Lookup("mod", "long", buf, 4));
    EXPECT_STREQ(buf, "abc");  // cut to size - 1, terminated
    EXPECT_EQ(buf[4], 'X');    // nothing written past the given size

    std::memset(buf, 'X', sizeof buf);
    EXPECT_FALSE(t.Lookup("mod", "long", buf, 0));
    EXPECT_FALSE(t.Lookup("mod", "missing", buf, sizeof buf));
    EXPECT_FALSE(t.Lookup("other", "key", buf, sizeof buf));
    EXPECT_FALSE(t.Lookup(nullptr, "key", buf, sizeof buf));
    EXPECT_EQ(buf[0], 'X');
}

TEST_F(HostTranslations, TextOutsideAModuleIsAnError) {
    Translations t;
    std::string error;
    EXPECT_FALSE(t.Load(Write("key = text\n[mod]\n").string(), error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    EXPECT_FALSE(t.Load("/nonexistent/file.ini", error));
}

}  // namespace
}  // namespace host
