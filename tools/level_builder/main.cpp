// stagewalk-level: builds a level model and its data from a tile map. Usage: stagewalk-level MAP.tmx
// OUT.obj, which writes OUT.obj and OUT.level.tml. Exit status 0 on success; 1 with one line on
// standard error naming the file, layer and tile when the map is bad (nothing is written then); 2
// for a wrong command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "application/asset_names.h"
#include "level_data.h"
#include "level_geometry.h"
#include "level_map.h"

namespace {

const char* const kSynopsis =
    "Usage: stagewalk-level MAP.tmx OUT.obj\n"
    "       stagewalk-level --help | --version\n";

const char* const kDescription =
    "\n"
    "Builds the stagewalk room from a tile map: reads MAP.tmx, an orthogonal map with CSV layers\n"
    "'height' and (optionally) 'shape', with the game's own map loader and writes the room as one\n"
    "OBJ object to OUT.obj and the level's data (where runs end) beside it, to OUT.level.tml\n"
    "(room2.obj: room2.level.tml). Both go through temporary files, so that a bad map leaves the old\n"
    "files as they were. The format is described in docs/levels.md (installed in\n"
    "/usr/share/doc/stagewalk).\n"
    "\n"
    "  --help      print this text\n"
    "  --version   print the version\n"
    "\n"
    "Exit status: 0 both files were written, 1 a bad map (one line on standard error naming the file\n"
    "and, where they apply, the layer and the tile as (column,row)) or an output that cannot be\n"
    "written, 2 a wrong command line.\n";

int Usage(const char* problem) {
    std::fprintf(stderr, "stagewalk-level: %s\n%s", problem, kSynopsis);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
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
        const std::string room = LevelGeometry(map).Build(Application::AssetNames::Room).ToString();
        WriteFilesAtomically(
            {{files[1], room}, {LevelDataPath(files[1]), MakeLevelData(map, Application::AssetNames::Room)}});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stagewalk-level: %s\n", error.what());
        return 1;
    }
    return 0;
}
