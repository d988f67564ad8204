// Fuzzes the tml reader from memory: any bytes either give a document whose tree can be walked
// or one of the two header errors; nothing else may escape.
#include "fuzz_input.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsHeaderError(const std::string& text) {
    return text == "Header missing in fuzz.tml!" ||
           text == "Unknown version, only 'tangly-ml-v-020' is supported by the parser!";
}

// Visits every node without recursion, checking that no text holds a tab or a quotation mark.
void Walk(const Tml::Document& document) {
    std::vector<const Tml::Node*> pending(document.RootNodes().begin(), document.RootNodes().end());
    while (!pending.empty()) {
        const Tml::Node* node = pending.back();
        pending.pop_back();
        Fuzz::Require(node->Name().find_first_of("\t\"") == std::string::npos, "name with tab or quote");
        for (const Tml::Attribute& attribute : node->Attributes()) {
            Fuzz::Require(attribute.key.find_first_of("\t\"") == std::string::npos, "key with tab or quote");
            Fuzz::Require(attribute.value.find_first_of("\t\"") == std::string::npos,
                          "value with tab or quote");
        }
        for (const Tml::Node* child : node->Children()) pending.push_back(child);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "fuzz.tml"));
        Walk(*document);
    } catch (const std::runtime_error& error) {
        Fuzz::Require(IsHeaderError(error.what()), "unexpected tml error text");
    }
    return 0;
}
