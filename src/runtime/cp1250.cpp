#include "runtime/cp1250.h"

#include "platform/cp1250_table.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

// Decodes strictly (no overlong forms, no surrogates, nothing above U+10FFFF). A malformed
// sequence becomes one '?' and decoding resumes at the first byte that cannot continue it.
std::string Utf8ToCp1250(std::string_view utf8) {
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
        const int b = platform::CodePointToCp1250(cp);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}
