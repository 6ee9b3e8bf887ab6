// Growing a large text that is filled piece by piece with pieces of about the same size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends `text` to `out`, the `done`-th of `total` pieces. When `out` must grow, it is sized
// once for all the pieces from their average so far, instead of being copied at every doubling
// on the way there; a low estimate still grows it by half at least.
void AppendPlanned(std::string& out, std::string_view text, std::size_t done, std::size_t total);
