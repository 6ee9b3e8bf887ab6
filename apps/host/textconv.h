// The host's own conversion between the driver's Windows-1250 texts and UTF-8 (terminal, INI
// and translation files).
#pragma once

#include <string>
#include <string_view>

namespace host {

// Windows-1250 bytes to UTF-8. The five unassigned bytes become U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// UTF-8 to Windows-1250. Characters without a Windows-1250 form and malformed sequences become
// '?'; `lossless` (when given) tells whether that never happened.
std::string Utf8ToCp1250(std::string_view utf8, bool* lossless = nullptr);

// Number of code points of a UTF-8 text (its width in terminal columns for our texts).
size_t Utf8Length(std::string_view utf8);

}  // namespace host
