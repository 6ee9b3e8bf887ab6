// Bounded transfers between the driver's texts and the fixed-size buffers of the host.
#pragma once

#include <cstddef>
#include <string>

#include "targodll.h"

namespace hostbuf {

// Most characters a host buffer of TARGODLL_BUFSIZE bytes carries.
inline constexpr std::size_t kMaxText = TARGODLL_BUFSIZE - 1;

// Copies at most 300 characters of `text` (up to its first zero byte) into `buf`, fills the
// rest of the first 300 bytes with zeros and stores a zero at index 300. A null buf is skipped.
void CopyOut(char* buf, const std::string& text);

// A text handed to a callback: trimmed, and cut to the 300 characters a host buffer holds.
std::string Outgoing(const std::string& text);
// The same text without a copy where it can be had: a pointer into `text` when only leading
// blanks go, otherwise `scratch` filled as Outgoing fills its answer.
const char* OutgoingCStr(const std::string& text, std::string& scratch);

// The text of a host buffer: at most `maxChars` characters, ending at the first zero byte.
// A null buf reads as the empty text.
std::string ReadIn(const char* buf, std::size_t maxChars = kMaxText);

}  // namespace hostbuf
