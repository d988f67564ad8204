// asset_generator: writes the game's textures, models, sounds and asset manifest into one directory; each
// shipped level's room and data (room2.obj and room2.level.tml, ...) are built from its committed tile
// map in the levels folder, and --tileset also paints the level format's tile set picture. The output
// is the same, byte for byte, on every run. Usage:
// asset_generator OUTPUT_DIR [FONT_FILE] [--levels DIR] [--tileset OUT.png]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "application/asset_names.h"
#include "city_backdrop.h"
#include "crosshair.h"
#include "finish_marker.h"
#include "font_sheet.h"
#include "icon.h"
#include "level_data.h"
#include "level_geometry.h"
#include "level_map.h"
#include "level_tileset.h"
#include "manifest.h"
#include "obj_writer.h"
#include "sky.h"
#include "sounds.h"

namespace {

const char* const kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// The shipped levels in the order the game offers them (the first is where it starts): the level's
// name and title, its map in the levels folder and the files and asset names of its room and data.
struct ShippedLevel {
    const char* name;
    const char* title;
    const char* map;
    const char* file;  // the room's file stem: FILE.obj and FILE.level.tml
    const char* room;
    const char* data;
};
const ShippedLevel kLevels[] = {
    {"tower", "The tower", "room2.tmx", "room2", Application::AssetNames::Room,
     Application::AssetNames::Level},
    {"steps", "First steps", "steps.tmx", "steps", "steps", "stepsLevel"},
    {"rooftops", "The rooftops", "rooftops.tmx", "rooftops", "rooftops", "rooftopsLevel"},
};

}  // namespace

int main(int argc, char** argv) {
    using namespace AssetGenerator;
    using Engine::AssetKind::Bitmap;
    using Engine::AssetKind::Markup;
    using Engine::AssetKind::Model;
    using Engine::AssetKind::Sound;
    namespace Names = Application::AssetNames;
    std::vector<std::string> positional;
    std::string maps = STAGEWALK_LEVEL_DIR, tileset;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--levels" || arg == "--tileset") && i + 1 < argc) {
            (arg == "--levels" ? maps : tileset) = argv[++i];
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_FILE] [--levels DIR] [--tileset OUT.png]\n",
                     argv[0]);
        return 2;
    }
    const std::string out = positional[0];
    const std::string font = positional.size() == 2 ? positional[1] : kDefaultFont;
    try {
        std::filesystem::create_directories(out);
        MakeFontSheet(font).WritePng(out + "/font16.png");
        MakeCrosshair().WritePng(out + "/crosshair.png");
        MakeSkyImage().WritePng(out + "/sky.png");
        MakeCityImage().WritePng(out + "/city_bg.png");
        MakeSkyboxModel().Write(out + "/skybox.obj");
        MakeCylinderModel().Write(out + "/cylinder.obj");
        MakeFinishMarkerModel().Write(out + "/finish_marker.obj");
        MakeFinishBeamImage().WritePng(out + "/finish_beam.png");
        MakeFinishFloorImage().WritePng(out + "/finish_floor.png");
        std::vector<ManifestEntry> entries = {
            {Bitmap, Names::Font, "font16.png"},
            {Bitmap, Names::Crosshair, "crosshair.png"},
            {Bitmap, Names::CityBackdrop, "city_bg.png"},
            {Bitmap, Names::Sky, "sky.png"},
        };
        std::vector<ManifestLevel> levels;
        for (const ShippedLevel& shipped : kLevels) {
            const LevelMap level = LevelMap::Load(maps + "/" + shipped.map);
            const std::string room = out + "/" + shipped.file + ".obj";
            WriteFilesAtomically({{room, LevelGeometry(level).Build(shipped.room).ToString()},
                                  {LevelDataPath(room), MakeLevelData(level, shipped.room)}});
            entries.push_back({Model, shipped.room, std::string(shipped.file) + ".obj"});
            entries.push_back({Markup, shipped.data, std::string(shipped.file) + ".level.tml"});
            levels.push_back({shipped.name, shipped.title, shipped.room, shipped.data});
        }
        entries.push_back({Model, Names::Cylinder, "cylinder.obj"});
        entries.push_back({Model, Names::Skybox, "skybox.obj"});
        entries.push_back({Model, Names::FinishMarker, "finish_marker.obj"});
        entries.push_back({Bitmap, Names::FinishBeam, "finish_beam.png"});
        entries.push_back({Bitmap, Names::FinishFloor, "finish_floor.png"});
        MakeIcon().WritePng(out + "/icon.png");  // the window's and the desktop's icon; not in the manifest
        WriteWav(MakeFootstep(), out + "/footstep.wav");
        WriteWav(MakeJump(), out + "/jump.wav");
        WriteWav(MakeLanding(), out + "/land.wav");
        WriteWav(MakeRespawn(), out + "/respawn.wav");
        WriteWav(MakeFinish(), out + "/finish.wav");
        WriteWav(MakeWind(), out + "/wind.wav");
        entries.insert(entries.end(), {
                                          {Sound, Names::Footstep, "footstep.wav"},
                                          {Sound, Names::Jump, "jump.wav"},
                                          {Sound, Names::Land, "land.wav"},
                                          {Sound, Names::Respawn, "respawn.wav"},
                                          {Sound, Names::Finish, "finish.wav"},
                                          {Sound, Names::Wind, "wind.wav"},
                                      });
        if (!tileset.empty()) MakeLevelTileset().WritePng(tileset);
        WriteFileAtomically(out + "/assets.tml", MakeManifest("data", entries, levels));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "asset_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
