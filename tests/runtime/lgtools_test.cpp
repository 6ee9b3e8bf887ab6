#include "runtime/lgtools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/exceptions.h"

namespace {

int g_lastSize = 0;

// Knows ("m", "k") and ("m", "long"); the latter fills the whole buffer without a terminator.
int TARGO_CALL Translate(char* buffer, int size, const char* module, const char* key) {
    g_lastSize = size;
    if (std::strcmp(module, "m") != 0) return 0;
    if (std::strcmp(key, "k") == 0) {
        std::strcpy(buffer, "Translated");
        return 1;
    }
    if (std::strcmp(key, "long") == 0) {
        std::memset(buffer, 'x', static_cast<std::size_t>(size));
        return 1;
    }
    std::strcpy(buffer, "left behind");  // text written but "not found" answered
    return 0;
}

TEST(GetString, TranslationWinsOverDefault) {
    const TMLgExtTools tools(Translate);
    EXPECT_EQ(GetString(&tools, "m", "k", 0, "Domyślny"), "Translated");
    EXPECT_EQ(g_lastSize, 301);
}

TEST(GetString, DefaultIsConvertedWhenThereIsNoTranslation) {
    const TMLgExtTools tools(Translate);
    const TMLgExtTools noFunction(nullptr);
    const std::string expected = "Domy\x9Clny b\xB3\xB9" "d";
    EXPECT_EQ(GetString(&tools, "m", "other", 0, "Domyślny błąd"), expected);
    EXPECT_EQ(GetString(&tools, "x", "k", 0, "Domyślny błąd"), expected);
    EXPECT_EQ(GetString(&noFunction, "m", "k", 0, "Domyślny błąd"), expected);
    EXPECT_EQ(GetString(nullptr, "m", "k", 0, "Domyślny błąd"), expected);
}

TEST(GetString, FullBufferIsCutAtThreeHundredCharacters) {
    const TMLgExtTools tools(Translate);
    EXPECT_EQ(GetString(&tools, "m", "long", 0, "d"), std::string(300, 'x'));
}

TEST(FixedText, ConvertsToCp1250) {
    EXPECT_EQ(FixedText("nieprawidłowy ident"), "nieprawid\xB3owy ident");
}

TEST(Exceptions, ClassTreeAnswersAncestors) {
    const EConvertError convert("c");
    const EAbort abort("a");
    const EMException em("e");
    const Exception plain("p");
    struct Case {
        const Exception* object;
        const char* name;
        bool expected;
    } cases[] = {
        {&convert, "EConvertError", true}, {&convert, "Exception", true},
        {&convert, "ERangeError", false},  {&abort, "EAbort", true},
        {&abort, "EInOutError", false},    {&em, "EMException", true},
        {&em, "Exception", true},          {&plain, "EMException", false},
        {&plain, "exception", false},      {nullptr, "Exception", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNameOfObjectParentClass(c.object, c.name), c.expected)
            << (c.object ? c.object->ClassName() : "null") << " / " << c.name;
    }
    EXPECT_FALSE(IsNameOfObjectParentClass(&convert, nullptr));
}

TEST(Exceptions, StandardTextsAndTopics) {
    try {
        ThrowConvertError("12a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
    }
    try {
        ThrowRangeError();
        FAIL();
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "Range check error");
    }
    const EMException em("head", {{7, "T1", "D1"}, {9, "T2", "D2"}});
    ASSERT_EQ(em.GetTopicCount(), 2);
    EXPECT_EQ(em.GetTopics(1).code, 9);
    EXPECT_EQ(em.GetTopics(1).description, "D2");
    EXPECT_THROW(em.GetTopics(2), std::out_of_range);
}

}  // namespace
