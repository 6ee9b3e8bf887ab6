// Warnings about an export file that reads without error but is not what the host meant to
// send: no goods at all, or names written in UTF-8 instead of Windows-1250.
#pragma once

#include <string_view>

namespace dibal {

// The text has at least one byte above 127 and all such bytes form well-formed UTF-8
// multi-byte sequences: a name in UTF-8, which the scale would show garbled.
bool LooksLikeUtf8(std::string_view text);

}  // namespace dibal
