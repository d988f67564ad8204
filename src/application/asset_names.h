// The names under which the game looks its assets up once loading is done: the HUD's font and
// crosshair, the stage's three models and two textures. The checker and the asset generator read the
// same table, so a manifest is held to what the game asks for. Constants; any thread.
#pragma once

#include "engine/assets/asset_kinds.h"

#include <array>

namespace Application::AssetNames {

inline constexpr const char* Font = "font16";  // a 16 x 16 glyph sheet
inline constexpr const char* Crosshair = "crosshair";
inline constexpr const char* CityBackdrop = "cityBg";  // drawn on the cylinder
inline constexpr const char* Sky = "sky";              // drawn on the sky box
inline constexpr const char* Room = "room2";           // drawn and collided with
inline constexpr const char* Cylinder = "cylinder";
inline constexpr const char* Skybox = "skybox";
// The room's data (where runs end): a markup document the game reads when the manifest lists it. A
// room may come without one, so it is not in All; the game then has no finish.
inline constexpr const char* Level = "room2Level";

struct Required {
    const char* kind;
    const char* name;
};

// Every asset the game asks for, by kind.
inline constexpr std::array<Required, 7> All = {{
    {Engine::AssetKind::Bitmap, Font},
    {Engine::AssetKind::Bitmap, Crosshair},
    {Engine::AssetKind::Bitmap, CityBackdrop},
    {Engine::AssetKind::Bitmap, Sky},
    {Engine::AssetKind::Model, Room},
    {Engine::AssetKind::Model, Cylinder},
    {Engine::AssetKind::Model, Skybox},
}};

}  // namespace Application::AssetNames
