#include "stagewalk_check/document_check.h"

#include "common/whole_file.h"
#include "markup/tml_reader.h"
#include "stagewalk_check/markup_scan.h"

#include <stdexcept>

namespace StagewalkCheck {

CheckedDocument CheckDocument(const GameFolder& folder, const std::string& path, Diagnostics& out) {
    if (path.empty() || !folder.IsFile(path)) return CheckedDocument{};
    const Common::WholeFile file = Common::ReadWholeFile(folder.Resolve(path), Tml::kMaxDocumentBytes);
    if (file.status != Common::WholeFile::Status::Read) return CheckedDocument{};
    return CheckDocumentText(file.text, path, out);
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
