// Fuzzes the manifest reader: a parsed document becomes a loading plan whose entries are all of a
// loadable kind and whose count matches, or the markup header error leaves.
#include "engine/assets/asset_buffer.h"
#include "engine/assets/asset_kinds.h"
#include "engine/assets/assets.h"
#include "fuzz_input.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<Tml::Document> document;
    try {
        document.reset(Tml::ParseDocument(text, "assets.tml"));
    } catch (const std::runtime_error& error) {
        const std::string what = error.what();
        Fuzz::Require(what == "Header missing in assets.tml!" ||
                          what == "Unknown version, only 'tangly-ml-v-020' is supported by the parser!",
                      "unexpected manifest error text");
        return 0;
    }
    Engine::Assets assets;
    const Engine::AssetBuffer buffer(*document, &assets);
    Fuzz::Require(buffer.GetEntryCount() == buffer.GetEntries().size(), "entry count differs");
    Fuzz::Require(buffer.GetNextIndex() == 0, "cursor moved before loading");
    for (const Engine::AssetEntry& entry : buffer.GetEntries()) {
        Fuzz::Require(Engine::AssetKind::IsKnown(entry.kind), "entry of an unknown kind");
    }
    return 0;
}
