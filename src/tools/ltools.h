// TLTools: the framework's utility object - file writes, guarded renames, Polish code pages,
// text sizing, EAN-13, byte conversions, platform queries, the communication log and the
// archive of exchanged files.
#pragma once

#include "runtime/api.h"

#include <cstdint>
#include <string>
#include <vector>

class TMLgExtTools;

class SKALNIX_FRAMEWORK_API TLTools {
public:
    enum e_just { just_right = 0, just_left = 1 };

    TLTools() = default;

    // Files.
    void BufToFile(const std::string& data, const std::string& path);
    void BufToAppendFile(const std::string& data, const std::string& path);
    void BufToFileEx(const std::string& data, const std::string& path, const std::string& tempPath,
                     const TMLgExtTools* lg, bool append);
    void RenFile(const std::string& oldPath, const std::string& newPath, const TMLgExtTools* lg);
    bool IsFile(const std::string& pattern);
    void SaveListToFile(const std::vector<std::string>* list, const std::string& path);

    // Texts.
    std::string plstring(std::string& text);
    // plstring's conversion of `text` in place, without the copy it answers.
    void ConvertPolishLetters(std::string& text) const;
    static std::string Vat2Str(int rate);
    static int Str2Vat(const std::string& text);
    static std::string CopyTill(const std::string& source, std::string& destination,
                                const std::string& stopChars, int start);
    static std::string StrMax(const std::string& text, int maximum, bool dots);
    static std::string StrSize(std::string& text, int size, char fill, e_just padding,
                               e_just cutting);
    static int Str2Int(const std::string& text, unsigned decimals);
    static void KorygujCyfreKontrolnaEAN13(std::string& code);

    // Bytes.
    static void Bin2Hex(const std::uint8_t* source, char* destination, int count);
    static std::uint8_t Hex2BinDigit(const char* twoChars);
    static void Hex2Bin(const char* source, std::uint8_t* destination, int count);
    static std::uint8_t Dec2BinDigit(const char* twoChars);
    static void Dec2Bin(const char* source, std::uint8_t* destination, int count);
    static void Bin2Dec(const std::uint8_t* source, char* destination, int count);

    // Platform queries.
    static bool Is_Win_NT();
    static std::string GetDirShortPath(const std::string& path);
    static std::string WczytajSciezkeDoBinariow();

    // Communication log.
    void InitDebug(const std::string& path, const TMLgExtTools* lg);
    void DebugIt(const std::string& first, const std::string& second);
    void DebugItHex(const std::uint8_t* bytes, int count);

    // Archive of exchanged files.
    void ArchiveFile(const std::string& path, const std::string& archivePath,
                     const TMLgExtTools* lg, bool isExport, int kind, bool header,
                     const std::string& extraLine);
    void ArchiveFileUpdateFileNames(const std::string& archivePath);
    // Past this size a running archive becomes generation 0001 before the next copy, so that
    // it does not grow without bound; no generation is ever deleted.
    static constexpr long long kArchiveLimitBytes = 32LL << 20;
    void StartNewGenerationWhenFull(const std::string& archivePath);

    // The Polish-letter table: 14 code pages x 18 letters (A, C, E, L, N, O, S, Z-dot, Z-acute,
    // then the same in lower case).
    static const std::uint8_t PolishLetters[14][18];

    int CodePageFrom = 2;
    int CodePageTo = 2;
    bool DebugOn = false;
    std::string DebugFile;
};
