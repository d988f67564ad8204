#include "engine/assets/markup_loading.h"

#include "markup/tml_reader.h"

#include <fstream>
#include <stdexcept>

namespace Engine {

Tml::Document* LoadMarkup(const std::string& path) {
    // The reader takes a file it cannot open for an empty document; a manifest that lists one
    // means a file that is there.
    if (!std::ifstream(path, std::ios::binary)) {
        throw std::runtime_error("Failed to load a markup document in " + path);
    }
    return Tml::LoadDocument(path);
}

}  // namespace Engine
