// asset_generator: writes the game's textures, models and asset manifest into one directory.
// Usage: asset_generator OUTPUT_DIR [FONT_FILE]. The output is the same, byte for byte, on every run.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "city_backdrop.h"
#include "crosshair.h"
#include "font_sheet.h"
#include "icon.h"
#include "manifest.h"
#include "room_layout.h"
#include "sky.h"

namespace {

const char* const kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace AssetGenerator;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_FILE]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const std::string font = argc == 3 ? argv[2] : kDefaultFont;
    try {
        std::filesystem::create_directories(out);
        MakeFontSheet(font).WritePng(out + "/font16.png");
        MakeCrosshair().WritePng(out + "/crosshair.png");
        MakeSkyImage().WritePng(out + "/sky.png");
        MakeCityImage().WritePng(out + "/city_bg.png");
        MakeSkyboxModel().Write(out + "/skybox.obj");
        MakeCylinderModel().Write(out + "/cylinder.obj");
        MakeRoomModel().Write(out + "/room2.obj");
        MakeIcon().WritePng(out + "/icon.png");  // the desktop icon; not in the manifest
        WriteText(out + "/assets.tml", MakeManifest("data", {
                                                                {"bitmap", "font16", "font16.png"},
                                                                {"bitmap", "crosshair", "crosshair.png"},
                                                                {"bitmap", "cityBg", "city_bg.png"},
                                                                {"bitmap", "sky", "sky.png"},
                                                                {"model", "room2", "room2.obj"},
                                                                {"model", "cylinder", "cylinder.obj"},
                                                                {"model", "skybox", "skybox.obj"},
                                                            }));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "asset_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
