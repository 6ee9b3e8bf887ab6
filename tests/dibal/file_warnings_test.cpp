#include <gtest/gtest.h>

#include <string>

#include "dibal/file_warnings.h"

// A UTF-8 letter or a broken sequence is found wherever it stands, also after a run of plain
// letters of any length and at the very end of the name.
TEST(FileWarnings, Utf8IsToldFromWindows1250AtEveryPlaceInAName) {
    const std::string utf8Letter = "\xC5\x82";  // a Polish letter in UTF-8
    const std::string cpLetter = "\xB3";        // the same letter in Windows-1250
    const std::string cutLetter = "\xC5";       // a lead byte without its follower
    for (std::size_t plain : {0u, 1u, 6u, 7u, 8u, 9u, 15u, 16u, 17u, 31u}) {
        const std::string before(plain, 'a');
        SCOPED_TRACE(plain);
        EXPECT_TRUE(dibal::LooksLikeUtf8(before + utf8Letter));
        EXPECT_TRUE(dibal::LooksLikeUtf8(before + utf8Letter + "ka"));
        EXPECT_TRUE(dibal::LooksLikeUtf8(utf8Letter + before + utf8Letter));
        EXPECT_FALSE(dibal::LooksLikeUtf8(before + cpLetter + "ka"));
        EXPECT_FALSE(dibal::LooksLikeUtf8(before + utf8Letter + before + cpLetter));
        EXPECT_FALSE(dibal::LooksLikeUtf8(before + cutLetter));
        EXPECT_FALSE(dibal::LooksLikeUtf8(before));
    }
}
