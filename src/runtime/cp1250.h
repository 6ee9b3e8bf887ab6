// The one conversion of the driver's built-in texts: the sources write Polish texts as UTF-8
// literals; everything the driver hands out is Windows-1250.
#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 text to Windows-1250 bytes. Characters without a Windows-1250 form become '?'.
std::string Utf8ToCp1250(std::string_view utf8);
