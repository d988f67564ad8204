#include "stagewalk_check/document_check.h"

#include "markup/tml_reader.h"
#include "stagewalk_check/markup_scan.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace StagewalkCheck {

CheckedDocument CheckDocument(const GameFolder& folder, const std::string& path, Diagnostics& out) {
    if (path.empty() || !folder.IsFile(path)) return CheckedDocument{};
    std::ifstream in(folder.Resolve(path), std::ios::binary);
    if (!in) return CheckedDocument{};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return CheckedDocument{};
    return CheckDocumentText(text.str(), path, out);
}

CheckedDocument CheckDocumentText(const std::string& text, const std::string& path, Diagnostics& out) {
    CheckedDocument result;
    try {
        // Parsed under the name the user wrote, so the reader's header texts name it that way too.
        result.document.reset(Tml::ParseDocument(text, path));
    } catch (const std::runtime_error& error) {
        out.Error(path, FirstStatementLine(text), error.what());
        result.state = DocumentState::BadHeader;
        return result;
    }
    result.state = DocumentState::Loaded;
    CheckStatements(text, path, out);
    return result;
}

}  // namespace StagewalkCheck
