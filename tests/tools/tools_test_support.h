// Helpers of the utility tests: a language service with chosen translations, and the masking
// of time stamps in written files.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "runtime/lgtools.h"

namespace tools_test {

// Translations served to a TMLgExtTools, keyed by (module, key).
std::map<std::pair<std::string, std::string>, std::string>& Translations();
// A language service backed by Translations().
const TMLgExtTools* Language();

// Replaces `width` characters at `position` of `text` by '#' after checking that they look like
// a time stamp (digits where `shape` has '9', the same character elsewhere). Returns false, and
// leaves the text alone, when they do not.
bool MaskStamp(std::string& text, std::size_t position, const std::string& shape);

// Shapes of the runtime's date-time texts: format 7 and format 5.
inline const std::string kDateTimeShape = "9999-99-99 99:99:99";
inline const std::string kTimeShape = "99:99:99.999";

}  // namespace tools_test
