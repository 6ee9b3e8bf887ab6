// The one conversion of the driver's built-in texts: the sources write Polish texts as UTF-8
// literals; everything the driver hands out is Windows-1250.
#pragma once

#include "platform/cp1250_text.h"

// Converts UTF-8 text to Windows-1250 bytes. Characters without a Windows-1250 form become '?'.
using platform::Utf8ToCp1250;
