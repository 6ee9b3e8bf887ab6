// plstring: conversion of Polish letters between the rows of the code-page table.
#include "tools/ltools.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// The table as the scales and code pages define it, kept here independently of the driver's
// copy. Columns: the upper-case letters A-ogonek .. Z-acute (Z-dot before Z-acute), then the
// lower-case ones.
const char* const kRows[14] = {
    "A4 8F A8 9D E3 E0 97 BD 8D A5 86 A9 88 E4 A2 98 BE AB",
    "8F 95 90 9C A5 A3 98 A1 A0 86 8D 91 92 A4 A2 9E A7 A6",
    "A5 C6 CA A3 D1 D3 8C AF 8F B9 E6 EA B3 F1 F3 9C BF 9F",
    "80 81 82 83 84 85 86 88 87 89 8A 8B 8C 8D 8E 8F 91 90",
    "80 81 82 83 84 85 86 87 88 A0 A1 A2 A3 A4 A5 A6 A7 A8",
    "80 82 84 8B 8D 8E 92 97 99 A0 A2 A4 AB AD AE B2 B7 B9",
    "41 43 45 4C 4E 4F 53 5A 5A 61 63 65 6C 6E 6F 73 7A 7A",
    "C0 C3 C6 CC CE D0 D5 DD DC E0 E3 E6 EC EE F0 F5 FD FC",
    "79 78 7A 6C 4E 74 53 5A 5A 79 78 7A 6C 4E 74 53 5A 5A",
    "79 78 7A 6C 7B 74 7C 7D 7E 79 78 7A 6C 7B 74 7C 7D 7E",
    "02 01 03 F8 04 99 05 06 06 02 01 03 F8 04 99 05 06 06",
    "CC CD CE CF D0 D1 D2 D4 D3 C3 C4 C5 C6 C7 C8 C9 CB CA",
    "7B 7D 7F 81 83 85 87 8B 89 7C 7E 80 82 84 86 88 8C 8A",
    "B8 B9 7D BA C0 B6 BB BF BC B8 B9 7D BA C0 B6 BB BF BC",
};

std::string Row(int row) {
    std::string bytes;
    for (int k = 0; k < 18; ++k)
        bytes += static_cast<char>(std::stoi(std::string(kRows[row] + 3 * k, 2), nullptr, 16));
    return bytes;
}

std::string Convert(int from, int to, std::string text) {
    TLTools tools;
    tools.CodePageFrom = from;
    tools.CodePageTo = to;
    const std::string result = tools.plstring(text);
    EXPECT_EQ(result, text) << "the result is the text changed in place";
    return result;
}

TEST(PolishLetters, TableHoldsEveryRow) {
    for (int row = 0; row < 14; ++row) {
        const std::string expected = Row(row);
        for (int k = 0; k < 18; ++k)
            EXPECT_EQ(TLTools::PolishLetters[row][k], static_cast<std::uint8_t>(expected[k]))
                << "row " << row << " column " << k;
    }
}

TEST(PolishLetters, Windows1250LettersBecomeEveryRow) {
    for (int row = 0; row < 14; ++row) EXPECT_EQ(Convert(2, row, Row(2)), Row(row)) << "row " << row;
}

TEST(PolishLetters, RowsWithoutSharedBytesConvertBack) {
    for (int row : {0, 1, 3, 4, 5, 7, 11, 12})
        EXPECT_EQ(Convert(row, 2, Row(row)), Row(2)) << "row " << row;
}

TEST(PolishLetters, SharedBytesTakeTheFirstColumn) {
    // In row 6 both Z letters are "Z": it goes back as Z-dot, the first of the two.
    EXPECT_EQ(Convert(6, 2, "Zz"), "\xAF\xBF");
}

TEST(PolishLetters, EachCharacterIsConvertedOnce) {
    // Row 3 has Z-dot 88 and Z-acute 87; row 4 swaps them. A second pass would undo the swap.
    EXPECT_EQ(Convert(3, 4, "\x87\x88"), "\x88\x87");
}

TEST(PolishLetters, PlainLettersAndOtherBytesStay) {
    EXPECT_EQ(Convert(2, 6, "\xA3\xF3" "d\x9F"), "Lodz");  // the city of Lodz, with diacritics
    EXPECT_EQ(Convert(2, 6, "Cena 12,50 z\xB3"), "Cena 12,50 zl");
    EXPECT_EQ(Convert(2, 0, ""), "");
}

TEST(PolishLetters, SameRowsChangeNothing) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(Convert(2, 2, all), all);
    TLTools fresh;  // the constructor's rows are 2 and 2
    std::string text = all;
    EXPECT_EQ(fresh.plstring(text), all);
}

TEST(PolishLetters, EveryByteBetweenEveryPairOfRows) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    for (int from = 0; from < 14; ++from) {
        const std::string fromRow = Row(from);
        for (int to = 0; to < 14; ++to) {
            const std::string toRow = Row(to);
            std::string expected = all;
            for (char& c : expected) {
                const std::size_t k = fromRow.find(c);  // the first column holding the byte
                if (k != std::string::npos) c = toRow[k];
            }
            EXPECT_EQ(Convert(from, to, all), expected) << from << " -> " << to;
        }
    }
}

TEST(PolishLetters, RowsOutsideTheTableChangeNothing) {
    for (auto [from, to] : {std::pair{2, 14}, {-1, 6}, {14, 2}, {2, -1}, {1000000, 2}})
        EXPECT_EQ(Convert(from, to, Row(2)), Row(2)) << from << " -> " << to;
}

}  // namespace
