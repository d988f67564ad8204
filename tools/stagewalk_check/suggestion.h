// Finds the known name a misspelt one was probably meant to be ("widht" -> "width"), for the
// "did you mean" hints of the checks. Pure functions; any thread.
#pragma once

#include <string>
#include <vector>

namespace StagewalkCheck {

// Edits (insert, delete, replace, swap two neighbours) that turn `a` into `b`, ignoring ASCII case.
int EditDistance(const std::string& a, const std::string& b);
// The first candidate closest to `word` within a small distance (1, or 2 for names of six or more
// bytes), or the empty string when none is close. An exact match is never suggested.
std::string Nearest(const std::string& word, const std::vector<std::string>& candidates);
// " (did you mean 'x'?)" for the nearest candidate, or the empty string.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace StagewalkCheck
