// stagewalk-level: builds a level model and its data from a tile map. Usage: stagewalk-level MAP.tmx
// OUT.obj [--add TITLE], which writes OUT.obj and OUT.level.tml, and with --add lists the level in
// the manifest beside them. Exit status 0 on success (with a line on standard
// error for each part of the map left out); 1 with one line on standard error naming the file, layer
// and tile when the map is bad (nothing is written then); 2 for a wrong command line.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "level_data.h"
#include "level_geometry.h"
#include "level_listing.h"
#include "level_map.h"

namespace {

const char* const kSynopsis =
    "Usage: stagewalk-level [--] MAP.tmx OUT.obj [--add TITLE]\n"
    "       stagewalk-level --help | -h | --version\n";

const char* const kDescription =
    "\n"
    "Builds a stagewalk room from a tile map: reads MAP.tmx, an orthogonal map with CSV layers\n"
    "'height' and (optionally) 'shape' and an object layer holding the spawn point (a point of class\n"
    "'spawn'), with the game's own map loader, and writes the room as one OBJ object named after\n"
    "OUT.obj's stem to OUT.obj and the level's data (where the player starts and where runs end)\n"
    "beside it, to OUT.level.tml (mine.obj: mine.level.tml). Both go through temporary files, so that\n"
    "a bad map leaves the old files as they were. Other objects and image layers are left out, with\n"
    "one line each on standard error. The format is described in\n"
    "/usr/share/doc/stagewalk/docs/levels.md (docs/levels.md in a clone of the source).\n"
    "\n"
    "  --add TITLE list the level in the manifest assets.tml beside OUT.obj (the game folder's\n"
    "              data/), named after OUT.obj's stem and titled TITLE, unless it lists it already,\n"
    "              so that the game plays it: stagewalk --level STEM\n"
    "  -h, --help  print this text\n"
    "  --version   print the version\n"
    "  --          ends the options: the files follow, even one that starts with a dash\n"
    "\n"
    "Exit status: 0 both files were written, 1 a bad map (one line on standard error naming the file\n"
    "and, where they apply, the layer and the tile as (column,row)) or an output that cannot be\n"
    "written, 2 a wrong command line.\n";

// The room's name in the files, from OUT.obj's stem: one line, whatever the file name holds.
std::string RoomName(const std::string& objPath) {
    std::string name = std::filesystem::path(objPath).stem().string();
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '_';
    }
    return name.empty() ? "room" : name;
}

int Usage(const char* problem) {
    std::fprintf(stderr, "stagewalk-level: %s\n%s", problem, kSynopsis);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::optional<std::string> title;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            std::printf("%s%s", kSynopsis, kDescription);
            return 0;
        } else if (!optionsEnded && argument == "--version") {
            std::printf("stagewalk-level %s\n", STAGEWALK_VERSION);
            return 0;
        } else if (!optionsEnded && argument == "--add") {
            if (i + 1 == argc) return Usage("--add needs a TITLE");
            title = argv[++i];
        } else if (!optionsEnded && argument.rfind("--add=", 0) == 0) {
            title = argument.substr(6);  // as the game and its launcher take --opt=VALUE
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return Usage(("unknown option '" + argument + "'").c_str());
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) return Usage("expected a map file and an output file");
    try {
        using namespace AssetGenerator;
        const LevelMap map = LevelMap::Load(files[0]);
        const std::string name = RoomName(files[1]);
        const std::string room = LevelGeometry(map).Build(name).ToString();
        std::vector<std::pair<std::string, std::string>> outputs = {
            {files[1], room}, {LevelDataPath(files[1]), MakeLevelData(map, name)}};
        // The manifest is checked before anything is written, and written with the room.
        std::optional<Listing> listing;
        if (title) listing = ListLevel(files[1], *title);
        if (listing && listing->text) outputs.push_back({listing->manifest, *listing->text});
        WriteFilesAtomically(outputs);
        for (const std::string& note : map.Notes())
            std::fprintf(stderr, "stagewalk-level: %s\n", note.c_str());
        if (listing) std::fprintf(stderr, "stagewalk-level: %s\n", listing->note.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stagewalk-level: %s\n", error.what());
        return 1;
    }
    return 0;
}
