// A piece of outside text shown in a one-line message: in single quotes, control bytes as '?' so the
// message stays one line, and a long piece cut short with "...". Stateless; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Common {

inline constexpr size_t kQuotedLength = 40;  // bytes of the text shown before "..."

std::string Quote(std::string_view text, size_t longest = kQuotedLength);
// The same without the quotes, for a caller that puts the text in place itself.
std::string Shown(std::string_view text, size_t longest = kQuotedLength);

}  // namespace Common
