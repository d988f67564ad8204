#include "application/cue_watch.h"

#include "application/player.h"

#include <algorithm>

namespace Application {

float CueWatch::LandingLoudness(float drop) {
    const float share = std::clamp(drop / kLoudestDrop, 0.0f, 1.0f);
    return kQuietestLanding + (1.0f - kQuietestLanding) * share;
}

void CueWatch::OnStep(const Player& player, StepCues& cues) {
    if (player.jumped) cues.Push(Cue::Jump);
    if (player.footfall) cues.Push(Cue::Footstep);
    if (player.respawns != respawnsSeen) {
        respawnsSeen = player.respawns;
        cues.Push(Cue::Respawn);
        // The fall starts again from the spawn point.
        airSteps = 0;
        peak = player.position.y;
    }
    if (player.onGround) {
        if (!wasOnGround && airSteps >= kLeastAirSteps)
            cues.Push(Cue::Land, LandingLoudness(peak - player.position.y));
        airSteps = 0;
        peak = player.position.y;
    } else {
        // The flight's first step starts from the ground's height (kept above), or from where the player
        // appeared (the start, a respawn).
        peak = airSteps == 0 && !wasOnGround ? player.position.y : std::max(peak, player.position.y);
        ++airSteps;
    }
    wasOnGround = player.onGround;
}

}  // namespace Application
