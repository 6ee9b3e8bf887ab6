// Windows-1250 and UTF-8. Every text and path inside the driver is Windows-1250 bytes; the
// sources write Polish texts as UTF-8 literals, and a POSIX system names files in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 text to Windows-1250 bytes. Characters without a Windows-1250 form and malformed
// sequences become '?'.
std::string Utf8ToCp1250(std::string_view utf8);

// Windows-1250 bytes to UTF-8. The five bytes the code page leaves unassigned become the
// control characters of the same number (U+0081...), as Windows converts them, so that every
// byte string survives the way there and back through FileNameFromUtf8.
std::string Cp1250ToUtf8(std::string_view cp1250);

// A UTF-8 file name of the system to Windows-1250: as Utf8ToCp1250, except that U+0081... give
// back the unassigned bytes Cp1250ToUtf8 made them from.
std::string FileNameFromUtf8(std::string_view utf8);

}  // namespace platform
