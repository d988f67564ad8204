#include "tmxparser/xml_nesting.h"

#include <string_view>

namespace TmxParser {

bool NestingExceeds(const char* text, std::size_t size, std::size_t limit, std::size_t& offset) {
    const std::string_view xml(text, size);
    constexpr std::size_t npos = std::string_view::npos;
    std::size_t depth = 0;
    std::size_t i = 0;
    // Each step moves i forward past what it skipped, so the pass is linear in the text size.
    while (i < size) {
        const std::size_t open = xml.find('<', i);
        if (open == npos || open + 1 >= size) return false;
        i = open + 1;
        const char kind = xml[i];
        if (kind == '/') {  // closing tag; a stray one never lowers the count below zero
            if (depth > 0) --depth;
            i = xml.find('>', i);
        } else if (kind == '?') {  // declaration or processing instruction
            i = xml.find("?>", i);
            if (i != npos) ++i;
        } else if (xml.compare(i, 3, "!--") == 0) {
            i = xml.find("-->", i + 3);
            if (i != npos) i += 2;
        } else if (xml.compare(i, 8, "![CDATA[") == 0) {
            i = xml.find("]]>", i + 8);
            if (i != npos) i += 2;
        } else if (kind == '!') {  // DOCTYPE and other declarations, with bracketed internal subsets
            long brackets = 0;
            for (; i < size; ++i) {
                const char c = xml[i];
                if (c == '[') ++brackets;
                if (c == ']') --brackets;
                if (c == '>' && brackets <= 0) break;
            }
        } else {  // an element, one level deeper even when empty: the parser descends before it sees "/>"
            if (++depth > limit) {
                offset = open;
                return true;
            }
            char quote = 0;
            for (; i < size; ++i) {
                const char c = xml[i];
                if (quote != 0) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (i < size && xml[i - 1] == '/') --depth;  // self-closing: no contents
        }
        if (i == npos || i >= size) return false;
        ++i;  // past the closing '>'
    }
    return false;
}

}  // namespace TmxParser
