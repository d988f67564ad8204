// Looks at a tml file statement by statement, the way the reader cuts it, for what the reader drops
// without a word: statements it does not understand, attributes without a value or outside any
// node, text after a value, stray "}" and nodes never closed. Pure functions; any thread.
#pragma once

#include "stagewalk_check/diagnostics.h"

#include <string>
#include <string_view>

namespace StagewalkCheck {

// The 1-based line of the first statement, where the header belongs (1 when there is none).
int FirstStatementLine(std::string_view text);
// Reports, as warnings for `file`, every statement of `text` after the header that the reader
// ignores in whole or in part, and every node left open at the end.
void CheckStatements(std::string_view text, const std::string& file, Diagnostics& out);

}  // namespace StagewalkCheck
