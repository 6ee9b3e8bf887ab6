#include "platform/cp1250_text.h"

#include "platform/cp1250_table.h"

namespace platform {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The byte of a code point above U+007F; '?' when the code page has none. With `unassigned`,
// the control characters U+0081... stand for the unassigned bytes of the same number.
char Cp1250Byte(char32_t cp, bool unassigned) {
    if (unassigned && cp >= 0x80 && cp < 0xA0 && kCp1250High[cp - 0x80] == 0)
        return static_cast<char>(cp);
    const int b = CodePointToCp1250(cp);
    return b < 0 ? '?' : static_cast<char>(b);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

// Decodes strictly (no overlong forms, no surrogates, nothing above U+10FFFF). A malformed
// sequence becomes one '?' and decoding resumes at the first byte that cannot continue it.
std::string FromUtf8(std::string_view utf8, bool unassigned) {
    std::string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        int need;
        char32_t cp;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2;
            cp = c & 0x0F;
            if (c == 0xE0) lo = 0xA0;  // overlong
            if (c == 0xED) hi = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3;
            cp = c & 0x07;
            if (c == 0xF0) lo = 0x90;  // overlong
            if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < need; ++k, ++j) {
            const unsigned char low = k == 0 ? lo : 0x80;
            const unsigned char high = k == 0 ? hi : 0xBF;
            if (j >= n || s[j] < low || s[j] > high || !IsContinuation(s[j])) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (s[j] & 0x3F);
        }
        i = j;
        if (!ok) {
            out.push_back('?');
            continue;
        }
        out.push_back(Cp1250Byte(cp, unassigned));
    }
    return out;
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view cp1250) {
    std::string out;
    out.reserve(cp1250.size() + cp1250.size() / 2);
    for (const char c : cp1250) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            const char16_t cp = kCp1250High[b - 0x80];
            AppendUtf8(out, cp != 0 ? cp : b);  // every code point here lies below U+2200
        }
    }
    return out;
}

std::string Utf8ToCp1250(std::string_view utf8) { return FromUtf8(utf8, false); }

std::string FileNameFromUtf8(std::string_view utf8) { return FromUtf8(utf8, true); }

}  // namespace platform
