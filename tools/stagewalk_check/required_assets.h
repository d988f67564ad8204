// The assets the game looks up by name once loading is done (the HUD's font and crosshair, the
// stage's backdrop, sky and three models) and the check that the manifest provides each of them.
// Constant tables and a pure check; any thread.
#pragma once

#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/manifest_check.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

struct RequiredAsset {
    const char* kind;  // "bitmap" or "model"
    const char* name;
};

// The model the player walks on and collides with.
inline constexpr const char* kRoomModel = "room2";

const std::vector<RequiredAsset>& RequiredAssets();  // every name the game asks for, by kind

// Reports, for `manifestFile`, each required asset that `plan` does not provide under its kind,
// hinting at an entry of another kind with that name or a near name of the right kind.
void CheckRequiredAssets(const std::vector<PlannedEntry>& plan, const std::string& manifestFile,
                         Diagnostics& out);

}  // namespace StagewalkCheck
