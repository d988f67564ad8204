// Reads tml documents (the markup of config.tml and the asset manifest) into node trees. Knows no
// keys: it only builds the tree and checks the "@ tangly-ml-v-020" header. Keeps no state between
// calls, so it may run on any thread.
#pragma once

#include "markup/document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Tml {

// The header every non-empty document starts with.
inline constexpr const char* kVersion = "tangly-ml-v-020";

// The largest markup file read: far beyond any settings, manifest or level data (a settings file
// with a 100 MB line still reads).
inline constexpr size_t kMaxDocumentBytes = size_t{1} << 30;

// Reads the file at `path`. A file that cannot be opened, or that is no regular file (a folder, a
// pipe), reads as an empty document. Throws std::runtime_error "Header missing in <path>!" or the
// unknown-version message when the first statement is not a valid header, and "Markup file <path>
// is larger than N bytes" beyond kMaxDocumentBytes. The caller owns the result.
Document* LoadDocument(const std::string& path);

// The same for text already in memory; `path` only names it in messages.
Document* ParseDocument(std::string_view text, const std::string& path);

}  // namespace Tml
