// Reads config.tml or the manifest with the game's own tml reader and judges the markup: the
// header (with the reader's own texts) and the statements the reader would drop. The caller owns
// the document it gets back. Single-threaded use per call; keeps no state.
#pragma once

#include "markup/document.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"

#include <memory>
#include <string>

namespace StagewalkCheck {

enum class DocumentState {
    Missing,    // no such file, or not a readable file: the game reads an empty document
    BadHeader,  // the reader refuses it, so the game stops; already reported
    Loaded,     // parsed; markup problems reported
};

struct CheckedDocument {
    DocumentState state = DocumentState::Missing;
    std::unique_ptr<Tml::Document> document;  // set only when Loaded
};

// Reads `path` (as written, relative to the game folder) and reports its markup problems under
// that name. A missing file is not reported here: what it means depends on the file.
CheckedDocument CheckDocument(const GameFolder& folder, const std::string& path, Diagnostics& out);
// The same for text already in memory, named `path` in messages.
CheckedDocument CheckDocumentText(const std::string& text, const std::string& path, Diagnostics& out);

}  // namespace StagewalkCheck
