#include "markup/tml_reader.h"

#include "common/whole_file.h"
#include "markup/statement.h"

#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Tml {

namespace {

void CheckHeader(const std::vector<std::string_view>& tokens, const std::string& path) {
    if (tokens.size() < 2 || tokens[0] != "@") throw std::runtime_error("Header missing in " + path + "!");
    if (tokens[1] != kVersion) {
        throw std::runtime_error("Unknown version, only 'tangly-ml-v-020' is supported by the parser!");
    }
}

}  // namespace

Document* ParseDocument(std::string_view text, const std::string& path) {
    auto document = std::make_unique<Document>();
    std::string withoutTabs;
    std::vector<std::string_view> statements;
    std::vector<std::string_view> tokens;
    std::string scratch;
    bool headerChecked = false;

    size_t lineStart = 0;
    int lineNumber = 0;
    while (lineStart < text.size()) {
        ++lineNumber;
        const char* newline =
            static_cast<const char*>(std::memchr(text.data() + lineStart, '\n', text.size() - lineStart));
        const size_t lineEnd = newline ? static_cast<size_t>(newline - text.data()) : text.size();
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        // Tabs are dropped wherever they stand, before anything else looks at the line. Leading
        // indentation, by far the usual place, is dropped without copying the line.
        if (line.find('\t') != std::string_view::npos) {
            const size_t indent = line.find_first_not_of('\t');
            line = indent == std::string_view::npos ? std::string_view() : line.substr(indent);
            if (line.find('\t') != std::string_view::npos) {
                withoutTabs.clear();
                size_t from = 0;
                for (size_t tab = line.find('\t'); tab != std::string_view::npos;
                     tab = line.find('\t', from)) {
                    withoutTabs.append(line.data() + from, tab - from);
                    from = tab + 1;
                }
                withoutTabs.append(line.data() + from, line.size() - from);
                line = withoutTabs;
            }
        }
        if (line.empty()) continue;

        SplitStatements(line, statements);
        for (std::string_view statement : statements) {
            TokenizeStatement(statement, tokens, scratch);
            if (!headerChecked) {
                CheckHeader(tokens, path);
                headerChecked = true;
            }
            ApplyStatementView(*document, tokens, lineNumber);
        }
    }
    return document.release();
}

Document* LoadDocument(const std::string& path) {
    const Common::WholeFile file = Common::ReadWholeFile(path, kMaxDocumentBytes);
    if (file.status == Common::WholeFile::Status::Read) return ParseDocument(file.text, path);
    if (file.status == Common::WholeFile::Status::TooLarge)
        throw std::runtime_error("Markup file " + path + " " + file.reason);
    return new Document();
}

}  // namespace Tml
