#include "stagewalk_check/level_list_check.h"

#include "application/asset_names.h"
#include "application/finish_area.h"
#include "application/level_list.h"
#include "engine/assets/asset_kinds.h"
#include "engine/assets/markup_loading.h"
#include "stagewalk_check/suggestion.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <system_error>

namespace StagewalkCheck {

namespace {

using Application::LevelList;

const std::vector<std::string> kLevelKeys = {LevelList::NameKey, LevelList::TitleKey, LevelList::RoomKey,
                                             LevelList::DataKey};
const char* const kRoomSuffix = ".obj";
const char* const kDataSuffix = ".level.tml";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const PlannedEntry* Find(const std::vector<PlannedEntry>& plan, const std::string& kind,
                         const std::string& name) {
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.kind == kind && planned.entry.name == name) return &planned;
    }
    return nullptr;
}

// The names the game asks for whatever the level, by kind and name.
bool AskedFor(const Engine::AssetEntry& entry) {
    namespace Names = Application::AssetNames;
    for (const Names::Required& required : Names::All) {
        if (entry.kind == required.kind && entry.name == required.name) return true;
    }
    for (const Names::Required& required : Names::Sounds) {
        if (entry.kind == required.kind && entry.name == required.name) return true;
    }
    const Names::Required optional[] = {{Engine::AssetKind::Model, Names::FinishMarker},
                                        {Engine::AssetKind::Bitmap, Names::FinishBeam},
                                        {Engine::AssetKind::Bitmap, Names::FinishFloor}};
    for (const Names::Required& required : optional) {
        if (entry.kind == required.kind && entry.name == required.name) return true;
    }
    return false;
}

class LevelListWalk {
public:
    LevelListWalk(const std::string& file, const std::vector<PlannedEntry>& plan, const GameFolder& folder,
                  Diagnostics& out)
        : file(file), plan(plan), folder(folder), out(out) {}

    void Root(const Tml::Node& root) {
        for (const Tml::Attribute& attribute : root.Attributes()) {
            out.Warning(
                file, attribute.line,
                "unknown key " + Quote(attribute.key) + " in " + Quote(LevelList::Root) + " is ignored");
        }
        for (const Tml::Node* child : root.Children()) {
            if (child->Name() == LevelList::Node) {
                Level(*child);
            } else {
                out.Warning(file, child->Line(),
                            "unknown node " + Quote(child->Name()) + " in " + Quote(LevelList::Root) +
                                " is ignored" + DidYouMean(child->Name(), {LevelList::Node}));
            }
        }
    }

    // Entries no level names and the game does not ask for, and room and level files no entry lists.
    void Unused(bool implicit) {
        std::set<std::string> listed;
        std::set<std::string> folders;
        for (const PlannedEntry& planned : plan) {
            listed.insert(planned.entry.path);
            const size_t slash = planned.entry.path.rfind('/');
            folders.insert(slash == std::string::npos ? std::string()
                                                      : planned.entry.path.substr(0, slash + 1));
            const bool ofALevel = owned.count({planned.entry.kind, planned.entry.name}) > 0;
            const bool oldLevel = implicit && ((planned.entry.kind == Engine::AssetKind::Model &&
                                                planned.entry.name == Application::AssetNames::Room) ||
                                               (planned.entry.kind == Engine::AssetKind::Markup &&
                                                planned.entry.name == Application::AssetNames::Level));
            if (ofALevel || oldLevel || AskedFor(planned.entry) || !planned.firstOfName) continue;
            out.Warning(file, planned.line,
                        planned.entry.kind + " " + Quote(planned.entry.name) +
                            " is used by nothing: no level names it and the game asks for no " +
                            planned.entry.kind + " of that name, so it is loaded for nothing or never");
        }
        for (const std::string& prefix : folders) {
            std::error_code error;
            std::vector<std::string> files;
            for (const auto& item :
                 std::filesystem::directory_iterator(folder.Resolve(prefix.empty() ? "." : prefix), error)) {
                if (item.is_regular_file(error)) files.push_back(prefix + item.path().filename().string());
            }
            std::sort(files.begin(), files.end());
            for (const std::string& path : files) {
                const bool data = EndsWith(path, kDataSuffix);
                if (listed.count(path) > 0 || (!data && !EndsWith(path, kRoomSuffix))) continue;
                out.Warning(path, 0,
                            std::string(data ? "level data" : "a room") +
                                " that no level lists: the game never loads it (list it in " + file +
                                " as a " + (data ? "markup" : "model") +
                                " and name it in a level, as stagewalk-level --add does)");
            }
        }
    }

    std::set<std::pair<std::string, std::string>> owned;  // (kind, name) of every level's room and data

private:
    void Level(const Tml::Node& node) {
        std::map<std::string, const Tml::Attribute*> keys;
        for (const Tml::Attribute& attribute : node.Attributes()) {
            if (std::find(kLevelKeys.begin(), kLevelKeys.end(), attribute.key) == kLevelKeys.end()) {
                out.Warning(file, attribute.line,
                            "unknown key " + Quote(attribute.key) + " in " + Quote(LevelList::Node) +
                                " is ignored" + DidYouMean(attribute.key, kLevelKeys));
                continue;
            }
            if (keys.count(attribute.key) > 0) {
                out.Warning(file, attribute.line,
                            Quote(attribute.key) + " is given again (first at line " +
                                std::to_string(keys[attribute.key]->line) + "); the last one wins");
            }
            keys[attribute.key] = &attribute;
        }
        const auto value = [&](const char* key) {
            return keys.count(key) ? keys[key]->value : std::string();
        };
        const std::string name = value(LevelList::NameKey), room = value(LevelList::RoomKey),
                          data = value(LevelList::DataKey);
        const int line = node.Line();
        const std::string skipped = ": the game skips this level";
        if (!keys.count(LevelList::NameKey)) return out.Error(file, line, "level has no 'name'" + skipped);
        if (!LevelList::IsName(name)) {
            return out.Error(file, line,
                             "level name " + Quote(name) +
                                 " is not a short word (1 to 32 letters, digits, '_' and '-', not starting "
                                 "with '-')" +
                                 skipped);
        }
        const std::string subject = "level " + Quote(name);
        if (const auto first = names.find(name); first != names.end()) {
            return out.Error(
                file, line,
                subject + " is listed again (first at line " + std::to_string(first->second) + ")" + skipped);
        }
        names[name] = line;
        if (room.empty()) return out.Error(file, line, subject + " has no 'room'" + skipped);
        owned.insert({Engine::AssetKind::Model, room});
        if (!data.empty()) owned.insert({Engine::AssetKind::Markup, data});
        const bool roomListed = Entry(line, subject, "room", Engine::AssetKind::Model, room);
        if (data.empty()) {
            out.Warning(file, line, subject + " has no 'data': it has no finish, so no run is timed on it");
            return;
        }
        const PlannedEntry* dataEntry = Find(plan, Engine::AssetKind::Markup, data);
        if (!Entry(line, subject, "data", Engine::AssetKind::Markup, data) || !roomListed) return;
        Finish(line, subject, *dataEntry);
    }

    // The level's room or data names an entry of its kind whose file is there; reports and returns
    // false otherwise.
    bool Entry(int line, const std::string& subject, const char* what, const char* kind,
               const std::string& name) {
        const PlannedEntry* entry = Find(plan, kind, name);
        if (entry == nullptr) {
            std::vector<std::string> candidates;
            for (const PlannedEntry& planned : plan) {
                if (planned.entry.kind == kind) candidates.push_back(planned.entry.name);
            }
            out.Error(file, line,
                      subject + ": its " + what + " " + Quote(name) + " is no " + kind +
                          " the manifest lists, so the level cannot be played" +
                          DidYouMean(name, candidates));
            return false;
        }
        if (!entry->hasPath || !folder.IsFile(entry->entry.path)) {
            out.Error(file, line,
                      subject + ": its " + what + " file " + Quote(entry->entry.path) +
                          " is missing, so the level cannot be played (line " + std::to_string(entry->line) +
                          " lists it)");
            return false;
        }
        return true;
    }

    void Finish(int line, const std::string& subject, const PlannedEntry& data) {
        std::unique_ptr<Tml::Document> document;
        try {
            document.reset(Engine::LoadMarkup(folder.Resolve(data.entry.path)));
        } catch (const std::exception&) {
            return;  // reported with the asset files
        }
        if (Application::FinishArea::FromDocument(document.get()).Empty()) {
            out.Warning(file, line,
                        subject + " has no finish the game can use in " + Quote(data.entry.path) +
                            ": no run is timed on it");
        }
    }

    const std::string& file;
    const std::vector<PlannedEntry>& plan;
    const GameFolder& folder;
    Diagnostics& out;
    std::map<std::string, int> names;  // the line each level name was first listed on
};

}  // namespace

void CheckLevelList(const Tml::Document& manifest, const std::string& manifestFile,
                    const std::vector<PlannedEntry>& plan, const GameFolder& folder, Diagnostics& out) {
    LevelListWalk walk(manifestFile, plan, folder, out);
    for (const Tml::Node* root : manifest.RootNodes()) {
        if (root->Name() == LevelList::Root) walk.Root(*root);
    }
    // A manifest of old, without a list, has its one level of "room2" and "room2Level" (whose absence the
    // check of the names the game asks for reports); it was checked clean before levels were listed and
    // is left so.
    walk.Unused(LevelList::Read(manifest).Implicit());
}

}  // namespace StagewalkCheck
