// asset_generator: writes the game's textures, models, sounds and asset manifest into one directory; the
// level "room2" and its data (room2.level.tml) are built from the committed tile map, and --tileset also
// paints the level format's tile set picture. The output is the same, byte for byte, on every run. Usage:
// asset_generator OUTPUT_DIR [FONT_FILE] [--map MAP.tmx] [--tileset OUT.png]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "application/asset_names.h"
#include "city_backdrop.h"
#include "crosshair.h"
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

}  // namespace

int main(int argc, char** argv) {
    using namespace AssetGenerator;
    using Engine::AssetKind::Bitmap;
    using Engine::AssetKind::Markup;
    using Engine::AssetKind::Model;
    using Engine::AssetKind::Sound;
    namespace Names = Application::AssetNames;
    std::vector<std::string> positional;
    std::string map = STAGEWALK_LEVEL_MAP, tileset;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--map" || arg == "--tileset") && i + 1 < argc) {
            (arg == "--map" ? map : tileset) = argv[++i];
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_FILE] [--map MAP.tmx] [--tileset OUT.png]\n",
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
        const LevelMap level = LevelMap::Load(map);
        const std::string room = out + "/room2.obj";
        WriteFilesAtomically({{room, LevelGeometry(level).Build(Names::Room).ToString()},
                              {LevelDataPath(room), MakeLevelData(level, Names::Room)}});
        MakeIcon().WritePng(out + "/icon.png");  // the desktop icon; not in the manifest
        WriteWav(MakeFootstep(), out + "/footstep.wav");
        WriteWav(MakeJump(), out + "/jump.wav");
        WriteWav(MakeLanding(), out + "/land.wav");
        WriteWav(MakeRespawn(), out + "/respawn.wav");
        WriteWav(MakeFinish(), out + "/finish.wav");
        WriteWav(MakeWind(), out + "/wind.wav");
        if (!tileset.empty()) MakeLevelTileset().WritePng(tileset);
        WriteFileAtomically(out + "/assets.tml",
                            MakeManifest("data",
                                         {
                                             {Bitmap, Names::Font, "font16.png"},
                                             {Bitmap, Names::Crosshair, "crosshair.png"},
                                             {Bitmap, Names::CityBackdrop, "city_bg.png"},
                                             {Bitmap, Names::Sky, "sky.png"},
                                             {Model, Names::Room, "room2.obj"},
                                             {Markup, Names::Level, "room2.level.tml"},
                                             {Model, Names::Cylinder, "cylinder.obj"},
                                             {Model, Names::Skybox, "skybox.obj"},
                                             {Sound, Names::Footstep, "footstep.wav"},
                                             {Sound, Names::Jump, "jump.wav"},
                                             {Sound, Names::Land, "land.wav"},
                                             {Sound, Names::Respawn, "respawn.wav"},
                                             {Sound, Names::Finish, "finish.wav"},
                                             {Sound, Names::Wind, "wind.wav"},
                                         },
                                         {
                                             {"tower", "The tower", Names::Room, Names::Level},
                                         }));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "asset_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
