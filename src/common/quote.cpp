#include "common/quote.h"

namespace Common {

std::string Quote(std::string_view text, size_t longest) { return "'" + Shown(text, longest) + "'"; }

std::string Shown(std::string_view text, size_t longest) {
    std::string quoted;
    for (size_t i = 0; i < text.size() && i < longest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        quoted += (c < 0x20 || c == 0x7f) ? '?' : static_cast<char>(c);
    }
    if (text.size() > longest) quoted += "...";
    return quoted;
}

}  // namespace Common
