// The names the game opens its files by (the settings, the shader pair) and looks its assets up
// under once loading is done: the HUD's font and crosshair, the stage's three models and two textures,
// and the sounds the shell plays. The checker and the asset generator read the same names, so a game
// folder is held to what the game asks for. Constants; any thread.
#pragma once

#include "engine/assets/asset_kinds.h"

#include <array>

namespace Application::AssetNames {

inline constexpr const char* SettingsFile = "config.tml";   // in the working directory
inline constexpr const char* VertexShader = "vertex.glsl";  // in the settings' shader folder
inline constexpr const char* FragmentShader = "fragment.glsl";

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
// The finish's marker, drawn over every finish rectangle: a beam seen from afar through the fog and a
// chequered floor. Optional, as the finish is: a folder without them plays without the marker.
inline constexpr const char* FinishMarker = "finishMarker";  // model: the beam (object 0), the floor (1)
inline constexpr const char* FinishBeam = "finishBeam";      // bitmap on the beam
inline constexpr const char* FinishFloor = "finishFloor";    // bitmap on the floor

// The sounds: a footfall, the jump, the landing, the respawn, the finish and the looping wind.
inline constexpr const char* Footstep = "footstep";
inline constexpr const char* Jump = "jump";
inline constexpr const char* Land = "land";
inline constexpr const char* Respawn = "respawn";
inline constexpr const char* Finish = "finish";
inline constexpr const char* Wind = "wind";

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

// The sounds the game plays. Without one the game stays silent where it would play it, so a
// manifest that lacks one is worth a warning rather than an error.
inline constexpr std::array<Required, 6> Sounds = {{
    {Engine::AssetKind::Sound, Footstep},
    {Engine::AssetKind::Sound, Jump},
    {Engine::AssetKind::Sound, Land},
    {Engine::AssetKind::Sound, Respawn},
    {Engine::AssetKind::Sound, Finish},
    {Engine::AssetKind::Sound, Wind},
}};

}  // namespace Application::AssetNames
