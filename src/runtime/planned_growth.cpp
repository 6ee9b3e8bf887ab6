// AppendPlanned: one allocation for a text of many similar pieces.
#include "runtime/planned_growth.h"

#include <algorithm>
#include <exception>

#include "platform/platform.h"

void AppendPlanned(std::string& out, std::string_view text, std::size_t done, std::size_t total) {
    if (text.size() > out.capacity() - out.size() && done > 0 && total > done) {
        const std::size_t size = out.size() + text.size();
        // In 64 bits the product cannot overflow for any text a 32-bit build can hold.
        const unsigned long long perPiece = size / done + 1;
        const unsigned long long estimate = std::max<unsigned long long>(
            perPiece * total + perPiece * total / 16, out.capacity() + out.capacity() / 2 + text.size());
        const auto wanted =
            static_cast<std::size_t>(std::min<unsigned long long>(estimate, out.max_size()));
        try {
            out.reserve(wanted);
            // Filled front to back from here: large pages save most of its page faults.
            if (out.capacity() >= (std::size_t{4} << 20))
                platform::AdviseLargeBlock(out.data(), out.capacity());
        } catch (const std::exception&) {
            // Not that much memory in one piece: the string grows step by step instead.
        }
    }
    out.append(text);
}
