#include "stagewalk_check/manifest_check.h"

#include "application/level_list.h"
#include "engine/assets/asset_kinds.h"
#include "stagewalk_check/suggestion.h"

#include <map>
#include <utility>

namespace StagewalkCheck {

namespace {

const std::vector<std::string> kKinds(Engine::AssetKind::All.begin(), Engine::AssetKind::All.end());
using namespace Engine::Manifest;
const std::vector<std::string> kEntryKeys = {Name, Path};

bool IsKind(const std::string& name) { return Engine::AssetKind::IsKnown(name); }

// A value that carries over from node to node, and the line it was last set on (0: never set).
struct Carried {
    std::string value;
    int line = 0;
};

// Walks the manifest with the same carried strings as the game's reader, remembering where each
// value came from so that a carried-over name or path can be traced back to its line.
class ManifestWalk {
public:
    ManifestWalk(const std::string& file, Diagnostics& out) : file(file), out(out) {}

    void Root(const Tml::Node& root) {
        if (root.Name() == Application::LevelList::Root) return;  // the level list has a check of its own
        if (root.Name() != List) {
            const std::string hint = DidYouMean(root.Name(), {List, Application::LevelList::Root});
            out.Warning(file, root.Line(),
                        "unknown root node " + Quote(root.Name()) +
                            (hint.empty() ? "; only 'list' and 'levels' are read" : hint));
            return;
        }
        int workdirLine = 0;
        for (const Tml::Attribute& attribute : root.Attributes()) {
            if (attribute.key != Workdir) {
                out.Warning(file, attribute.line,
                            "unknown key " + Quote(attribute.key) + " in 'list'" +
                                DidYouMean(attribute.key, {Workdir}));
                continue;
            }
            if (workdirLine > 0) Again(attribute, workdirLine);
            workdirLine = attribute.line;
            prefix = Carried{attribute.value + "/", attribute.line};
        }
        if (workdirLine == 0 && prefix.line > 0 && !root.Children().empty()) {
            out.Warning(file, root.Line(),
                        "list has no 'workdir': its entries take the prefix " + Quote(prefix.value) +
                            " from line " + std::to_string(prefix.line));
        }
        for (const Tml::Node* child : root.Children()) Child(*child);
    }

    std::vector<PlannedEntry> plan;

private:
    void Again(const Tml::Attribute& attribute, int firstLine) {
        out.Warning(file, attribute.line,
                    Quote(attribute.key) + " is given again (first at line " + std::to_string(firstLine) +
                        "); the last one wins");
    }

    void Child(const Tml::Node& child) {
        const std::string& kind = child.Name();
        const bool known = IsKind(kind);
        int nameLine = 0;
        int pathLine = 0;
        for (const Tml::Attribute& attribute : child.Attributes()) {
            if (attribute.key == Name || attribute.key == Path) {
                int& line = attribute.key == Name ? nameLine : pathLine;
                if (line > 0 && known) Again(attribute, line);
                line = attribute.line;
                if (attribute.key == Name)
                    name = Carried{attribute.value, attribute.line};
                else
                    path = Carried{prefix.value + attribute.value, attribute.line};
            } else if (known) {
                out.Warning(file, attribute.line,
                            "unknown key " + Quote(attribute.key) + " in " + Quote(kind) +
                                DidYouMean(attribute.key, kEntryKeys));
            }
        }
        if (!known) {
            Ignored(child, nameLine > 0 || pathLine > 0);
            return;
        }
        for (const Tml::Node* inner : child.Children()) {
            out.Warning(file, inner->Line(),
                        "node " + Quote(inner->Name()) + " inside " + Quote(kind) + " is ignored");
        }
        Entry(child, nameLine > 0, pathLine > 0);
    }

    // A child that is not an entry still moves the carried name and path: say so, since the next
    // entry without its own will silently take them.
    void Ignored(const Tml::Node& child, bool setsCarried) {
        const std::string carry =
            setsCarried ? "; its 'name' and 'path' still carry over to the next entry" : "";
        if (child.Name() == List) {
            out.Warning(file, child.Line(),
                        "a 'list' inside a 'list' is ignored with everything in it" + carry);
        } else {
            out.Warning(file, child.Line(),
                        "unknown kind " + Quote(child.Name()) + " is ignored" +
                            DidYouMean(child.Name(), kKinds) + carry);
        }
    }

    void Entry(const Tml::Node& child, bool ownName, bool ownPath) {
        const std::string& kind = child.Name();
        const auto [first, firstOfName] = firstLine.emplace(std::make_pair(kind, name.value), child.Line());
        const std::string keepsFirst = "the game uses the first " + kind + " of that name";
        if (!ownName) {
            std::string text = kind + " entry has no 'name': ";
            if (name.line == 0)
                text += "it is stored under the empty name";
            else
                text += "it takes " + Quote(name.value) + " from line " + std::to_string(name.line);
            out.Warning(file, child.Line(), text + (firstOfName ? "" : "; " + keepsFirst));
        } else if (!firstOfName) {
            out.Warning(file, child.Line(),
                        kind + " " + Quote(name.value) + " is listed again (first at line " +
                            std::to_string(first->second) + "); " + keepsFirst);
        }
        if (!ownPath) {
            if (path.line == 0) {
                out.Error(file, child.Line(),
                          kind + " " + Quote(name.value) + " has no 'path': the game fails to load it");
            } else {
                out.Warning(file, child.Line(),
                            kind + " entry has no 'path': it takes " + Quote(path.value) + " from line " +
                                std::to_string(path.line));
            }
        }
        plan.push_back(PlannedEntry{Engine::AssetEntry{name.value, kind, path.value}, child.Line(),
                                    path.line > 0, firstOfName});
    }

    const std::string& file;
    Diagnostics& out;
    Carried prefix;
    Carried name;
    Carried path;
    std::map<std::pair<std::string, std::string>, int> firstLine;
};

}  // namespace

std::vector<PlannedEntry> CheckManifest(const Tml::Document& manifest, const std::string& file,
                                        Diagnostics& out) {
    ManifestWalk walk(file, out);
    for (const Tml::Node* root : manifest.RootNodes()) walk.Root(*root);
    // The game's own reader has the last word on what gets loaded; the walk adds the lines.
    const Engine::AssetBuffer buffer(manifest, nullptr);
    const std::vector<Engine::AssetEntry>& entries = buffer.GetEntries();
    if (entries.size() != walk.plan.size()) {
        std::vector<PlannedEntry> plan;
        for (const Engine::AssetEntry& entry : entries)
            plan.push_back(PlannedEntry{entry, 0, !entry.path.empty(), true});
        return plan;
    }
    for (size_t i = 0; i < entries.size(); ++i) walk.plan[i].entry = entries[i];
    return walk.plan;
}

}  // namespace StagewalkCheck
