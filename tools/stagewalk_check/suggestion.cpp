#include "stagewalk_check/suggestion.h"

#include <algorithm>
#include <cctype>

namespace StagewalkCheck {

namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

int EditDistance(const std::string& first, const std::string& second) {
    const std::string a = Lower(first);
    const std::string b = Lower(second);
    // Optimal string alignment: Levenshtein plus the swap of two neighbours, the commonest typo.
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

std::string Nearest(const std::string& word, const std::vector<std::string>& candidates) {
    std::string best;
    int bestDistance = 0;
    for (const std::string& candidate : candidates) {
        if (candidate == word) continue;
        const int limit = candidate.size() >= 6 ? 2 : 1;
        const int distance = EditDistance(word, candidate);
        if (distance <= limit && (best.empty() || distance < bestDistance)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string nearest = Nearest(word, candidates);
    return nearest.empty() ? std::string() : " (did you mean '" + nearest + "'?)";
}

}  // namespace StagewalkCheck
