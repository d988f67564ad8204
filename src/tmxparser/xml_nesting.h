// A quick pass over XML text that finds how deep its elements nest, run before rapidxml, whose
// parser descends one level of recursion per level of nesting and would overflow the stack on a
// pathological file. Stateless; any thread.
#pragma once

#include <cstddef>

namespace TmxParser {

// True when elements in the `size` bytes at `text` nest deeper than `limit` levels (an empty element
// counts as a level); `offset` then receives the byte where the level past the limit opens. Never
// counts less deeply than rapidxml descends before it reports a syntax error.
bool NestingExceeds(const char* text, std::size_t size, std::size_t limit, std::size_t& offset);

}  // namespace TmxParser
