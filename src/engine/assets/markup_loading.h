// Loading a markup asset: a tml document listed in the manifest, kept as read for the game to walk
// (the room's data, for one). Stateless; runs on the loader thread, and in the checker.
#pragma once

#include <string>

namespace Tml {
class Document;
}

namespace Engine {

// Reads the document at `path` with the markup reader; the caller owns it. Unlike a settings file,
// a listed document that cannot be opened is an error: throws std::runtime_error "Failed to load a
// markup document in " + path, and the reader's header errors pass on unchanged.
Tml::Document* LoadMarkup(const std::string& path);

}  // namespace Engine
