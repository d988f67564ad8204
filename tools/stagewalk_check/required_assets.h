// The check that a manifest provides every asset the game looks up by name once loading is done
// (the table of names is the game's own). A pure check; any thread.
#pragma once

#include "application/asset_names.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/manifest_check.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// The model the player walks on and collides with.
inline constexpr const char* kRoomModel = Application::AssetNames::Room;

// Reports, for `manifestFile`, each required asset that `plan` does not provide under its kind,
// hinting at an entry of another kind with that name or a near name of the right kind; a missing
// sound is a warning, since the game plays on without it.
void CheckRequiredAssets(const std::vector<PlannedEntry>& plan, const std::string& manifestFile,
                         Diagnostics& out);

}  // namespace StagewalkCheck
