// Fuzzes the settings reader on parsed documents: it returns a record or throws one of the
// documented texts (a markup header error or a value the game refuses), and a record it returns
// holds a whole fps, a positive, finite sensitivity and a volume from 0 to 1.
#include "application/settings.h"
#include "fuzz_input.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool IsDocumentedError(const std::string& text) {
    return text == "Header missing in config.tml!" ||
           text == "Unknown version, only 'tangly-ml-v-020' is supported by the parser!" ||
           StartsWith(text, "Invalid integer '") || StartsWith(text, "Integer out of range '") ||
           StartsWith(text, "Invalid positive number '") || StartsWith(text, "Invalid number '") ||
           StartsWith(text, "Invalid boolean '");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "config.tml"));
        const Application::Settings settings = Application::ReadSettings(*document, "config.tml");
        Fuzz::Require(settings.fps == static_cast<float>(static_cast<int>(settings.fps)), "fps not whole");
        Fuzz::Require(settings.sensitivity > 0.0f && std::isfinite(settings.sensitivity),
                      "sensitivity not positive");
        Fuzz::Require(settings.volume >= 0.0f && settings.volume <= 1.0f, "volume outside 0 to 1");
    } catch (const std::runtime_error& error) {
        Fuzz::Require(IsDocumentedError(error.what()), "unexpected settings error text");
    }
    return 0;
}
