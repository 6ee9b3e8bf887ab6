#include "suggest.h"

#include <algorithm>

namespace host {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits (insert, delete, change, swap of neighbours) between two texts, letter case ignored.
size_t Distance(std::string_view a, std::string_view b) {
    const size_t n = a.size(), m = b.size();
    std::vector<std::vector<size_t>> d(n + 1, std::vector<size_t>(m + 1));
    for (size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            const size_t cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
                Lower(a[i - 2]) == Lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

}  // namespace

std::string ClosestMatch(std::string_view typed, const std::vector<std::string>& candidates) {
    // A third of the word may be wrong, at least one character and at most three.
    const size_t allowed = std::clamp<size_t>(typed.size() / 3, 1, 3);
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const auto& c : candidates) {
        const size_t d = Distance(typed, c);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string best = ClosestMatch(typed, candidates);
    return best.empty() ? std::string() : " (did you mean '" + best + "'?)";
}

}  // namespace host
