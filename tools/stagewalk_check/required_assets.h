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
// A manifest that lists its levels names each level's room there (the level list's check holds it
// to them), so it need not have "room2": `levelsListed` leaves that name out.
void CheckRequiredAssets(const std::vector<PlannedEntry>& plan, const std::string& manifestFile,
                         Diagnostics& out, bool levelsListed = false);

}  // namespace StagewalkCheck
