// "Did you mean" for a misspelt command, option or parameter name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// The candidate closest to `typed` (letter case ignored) when it is close enough to be a
// slip of the keyboard, else empty.
std::string ClosestMatch(std::string_view typed, const std::vector<std::string>& candidates);

// " (did you mean 'X'?)" for the closest candidate, or empty.
std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates);

}  // namespace host
