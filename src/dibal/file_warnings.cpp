#include "dibal/file_warnings.h"

#include <cstdint>
#include <cstring>

namespace dibal {

bool LooksLikeUtf8(std::string_view text) {
    bool multiByte = false;
    for (std::size_t i = 0; i < text.size();) {
        // Names are mostly plain letters: eight of them are passed over at a time.
        std::uint64_t eight;
        if (i + sizeof eight <= text.size() &&
            (std::memcpy(&eight, text.data() + i, sizeof eight), (eight & 0x8080808080808080u) == 0)) {
            i += sizeof eight;
            continue;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        // The lead byte gives the length; overlong and surrogate-free checks are left to the
        // lead byte ranges, enough to tell UTF-8 from Windows-1250 letters.
        std::size_t length;
        if (b >= 0xC2 && b <= 0xDF)
            length = 2;
        else if (b >= 0xE0 && b <= 0xEF)
            length = 3;
        else if (b >= 0xF0 && b <= 0xF4)
            length = 4;
        else
            return false;
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (c < 0x80 || c > 0xBF)
                return false;
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

}  // namespace dibal
