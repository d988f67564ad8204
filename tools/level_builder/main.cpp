// stagewalk-level: builds a level model from a tile map. Usage: stagewalk-level MAP.tmx OUT.obj.
// Exit status 0 on success; 1 with one line on standard error naming the file, layer and tile when
// the map is bad (nothing is written then); 2 for a wrong command line.
#include <cstdio>
#include <exception>
#include <string>

#include "level_geometry.h"
#include "level_map.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: stagewalk-level MAP.tmx OUT.obj\n");
        return 2;
    }
    try {
        const AssetGenerator::LevelMap map = AssetGenerator::LevelMap::Load(argv[1]);
        AssetGenerator::LevelGeometry(map).Build("room2").Write(argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stagewalk-level: %s\n", error.what());
        return 1;
    }
    return 0;
}
