#include "level_listing.h"

#include "application/level_list.h"
#include "engine/assets/asset_kinds.h"
#include "level_data.h"
#include "level_error.h"
#include "markup/statement.h"
#include "markup/tml_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace AssetGenerator {

namespace {

using Application::LevelList;

// The last value given for `key` in `node`, or "".
std::string Value(const Tml::Node& node, const char* key) {
    std::string value;
    for (const Tml::Attribute& attribute : node.Attributes()) {
        if (attribute.key == key) value = attribute.value;
    }
    return value;
}

}  // namespace

Listing ListLevel(const std::string& objPath, const std::string& title) {
    const std::filesystem::path obj(objPath);
    const std::string name = obj.stem().string(), data = name + "Level";
    const std::string file = obj.filename().string(),
                      dataFile = std::filesystem::path(LevelDataPath(objPath)).filename().string();
    Listing listing;
    listing.manifest = (obj.parent_path() / "assets.tml").string();
    auto refuse = [&](const std::string& what) {
        throw std::runtime_error(EscapeControls(listing.manifest + ": " + what));
    };
    if (!LevelList::IsName(name)) {
        refuse("'" + name + "' cannot name a level (1 to " + std::to_string(LevelList::MaxNameLength) +
               " letters, digits, '_' and '-', not starting with '-'): give the room such a name");
    }
    const bool plain = std::none_of(title.begin(), title.end(), [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (title.empty() || !plain)
        refuse("the title '" + title + "' is empty or holds a quote, a backslash or a control character");
    std::ifstream in(listing.manifest, std::ios::binary);
    if (!in) refuse("cannot read the manifest (--add lists the level in the assets.tml beside the room)");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::unique_ptr<Tml::Document> manifest(Tml::ParseDocument(text, listing.manifest));
    // A list's paths lie in its workdir, which carries on from the list before it.
    std::string workdir;
    bool room = false, level = false, listed = false;
    for (const Tml::Node* root : manifest->RootNodes()) {
        if (root->Name() == Engine::Manifest::List) {
            for (const Tml::Attribute& attribute : root->Attributes())
                if (attribute.key == Engine::Manifest::Workdir) workdir = attribute.value;
            for (const Tml::Node* entry : root->Children()) {
                const std::string entryName = Value(*entry, Engine::Manifest::Name),
                                  path = Value(*entry, Engine::Manifest::Path);
                if (entryName != name && entryName != data) continue;
                const bool ours = entryName == name
                                      ? entry->Name() == Engine::AssetKind::Model && path == file
                                      : entry->Name() == Engine::AssetKind::Markup && path == dataFile;
                if (!ours)
                    refuse("an entry '" + entryName +
                           "' is there already, of another file than this level's (choose another name for "
                           "the room)");
                (entryName == name ? room : level) = true;
            }
        } else if (root->Name() == LevelList::Root) {
            for (const Tml::Node* node : root->Children()) {
                if (node->Name() != LevelList::Node || Value(*node, LevelList::NameKey) != name) continue;
                if (Value(*node, LevelList::RoomKey) != name || Value(*node, LevelList::DataKey) != data)
                    refuse("a level '" + name +
                           "' is listed already, of another room or data (choose another name for the room)");
                listed = true;
            }
        }
    }
    if (listed && room && level) {
        listing.note = listing.manifest + ": level '" + name + "' was listed already";
        return listing;
    }
    if (workdir.empty())
        refuse("its lists give no workdir, the folder their paths are in: give its list '! workdir data'");
    if (!text.empty() && text.back() != '\n') text += '\n';
    if (!room || !level) {
        text += "{ list\n\t! workdir " + workdir + "\n";
        if (!room)
            text += std::string("\t{ ") + Engine::AssetKind::Model + "\n\t\t! name " + name +
                    "\n\t\t! path " + file + "\n\t}\n";
        if (!level)
            text += std::string("\t{ ") + Engine::AssetKind::Markup + "\n\t\t! name " + data +
                    "\n\t\t! path " + dataFile + "\n\t}\n";
        text += "}\n";
    }
    if (!listed) {
        text += std::string("{ ") + LevelList::Root + "\n\t{ " + LevelList::Node + "\n\t\t! " +
                LevelList::NameKey + " " + name + "\n\t\t! " + LevelList::TitleKey + " " +
                Tml::QuotedValue(title) + "\n\t\t! " + LevelList::RoomKey + " " + name + "\n\t\t! " +
                LevelList::DataKey + " " + data + "\n\t}\n}\n";
    }
    listing.text = text;
    listing.note = listing.manifest + ": level '" + name + "' (" + title + ") listed";
    return listing;
}

}  // namespace AssetGenerator
