#include "application/cue_watch.h"

#include "application/player.h"

#include <gtest/gtest.h>

#include <vector>

using Application::Cue;
using Application::CueWatch;
using Application::Player;
using Application::StepCues;

namespace {

// The feet after a step: their height, and whether the step ended on a floor.
struct Feet {
    float y;
    bool onGround;
};

// Steps the watch through the feet; gives the cues of all the steps.
std::vector<Application::CueEvent> Watch(Player& player, CueWatch& watch, const std::vector<Feet>& steps) {
    std::vector<Application::CueEvent> heard;
    for (const Feet& feet : steps) {
        StepCues cues;
        player.position.y = feet.y;
        player.onGround = feet.onGround;
        watch.OnStep(player, cues);
        heard.insert(heard.end(), cues.begin(), cues.end());
    }
    return heard;
}

TEST(CueWatch, ALandingIsHeardAfterAFlightAndTheLongerTheFallTheLouder) {
    const struct {
        std::vector<Feet> steps;
        bool heard;
        float loudness;
    } flights[] = {
        {{{0, true}, {0.2f, false}, {0.1f, false}, {0, true}}, false, 0},  // a bump: two steps up
        {{{0, true}, {0.5f, false}, {0.9f, false}, {0.6f, false}, {0, true}}, true, 0.3793f},  // a hop
        {{{0, true}, {6, false}, {12, false}, {6, false}, {0, true}}, true, 0.74f},  // a jump's height
        {{{0, true}, {-5, false}, {-15, false}, {-25, false}, {-30, true}},
         true,
         1.0f},                                                               // off a ledge, 30 down
        {{{10, false}, {9, false}, {8.5f, false}, {8, true}}, true, 0.415f},  // the start's fall
    };
    for (const auto& flight : flights) {
        Player player(glm::vec3(0.0f));
        CueWatch watch;
        const auto heard = Watch(player, watch, flight.steps);
        ASSERT_EQ(heard.size(), flight.heard ? 1u : 0u) << flight.steps.size();
        if (!flight.heard) continue;
        EXPECT_EQ(heard[0].cue, Cue::Land);
        EXPECT_NEAR(heard[0].loudness, flight.loudness, 1e-3f);
    }
    EXPECT_LT(CueWatch::LandingLoudness(2.0f), CueWatch::LandingLoudness(8.0f));
    EXPECT_EQ(CueWatch::LandingLoudness(0.0f), CueWatch::kQuietestLanding);
}

TEST(CueWatch, ARespawnIsHeardAndItsFallIsMeasuredFromTheSpawnPoint) {
    Player player(glm::vec3(0.0f, 10.0f, 0.0f));
    CueWatch watch;
    StepCues cues;
    // Standing on a floor at 8, then out of the world: the respawn puts the feet at the spawn, 10.
    Watch(player, watch, {{8, true}, {8, true}});
    player.respawns = 1;
    player.position.y = 10.0f;
    player.onGround = false;
    watch.OnStep(player, cues);
    ASSERT_EQ(cues.Size(), 1u);
    EXPECT_EQ(cues.begin()->cue, Cue::Respawn);
    const auto heard = Watch(player, watch, {{9.5f, false}, {9, false}, {8.5f, false}, {8, true}});
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].loudness, CueWatch::LandingLoudness(2.0f), 1e-6f);
}

}  // namespace
