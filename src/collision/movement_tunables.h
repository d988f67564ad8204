// The player's movement tunables, each named once: how it walks, looks, falls and jumps, how its eye
// bobs, and what the collision lets it stand on and walk up. World units, and rates per step of one
// 60-Hz frame (Common::StepsPerSecond). Read by the player, the actor's collision, the gamepad, the
// checker, the level builder, the movement figures and the tests. Constants; any thread.
#pragma once

namespace Application {

namespace CollisionMath {
// sqrt by Newton's method, for constants derived from other constants.
constexpr double Sqrt(double v, double guess = 1.0, int rounds = 60) {
    return rounds == 0 ? guess : Sqrt(v, 0.5 * (guess + v / guess), rounds - 1);
}
}  // namespace CollisionMath

namespace Movement {

// Walking and looking.
inline constexpr float WalkSpeed = 0.2f;          // top walking speed
inline constexpr float WalkAcceleration = 0.02f;  // the most the walking velocity changes in a step
// A diagonal's stick components: the diagonal is not faster than a straight walk; 0.708 keeps it just
// over unit length, which the walk speed clamps anyway.
inline constexpr float DiagonalScale = 0.708f;
inline constexpr float MouseCountsPerRadian = 96.0f;  // the look turns by the mouse counts, not by dt
inline constexpr float PitchLimit = 1.2566371f;       // 0.4 pi: keeps the look-at away from straight up/down
inline constexpr float Radius = 0.5f;                 // the player's collision radius in x-z
inline constexpr float EyeHeight = 2.0f;              // the camera above the feet, bob aside

// Falling and jumping.
inline constexpr float Gravity = 0.03f;           // the most the falling velocity grows in a step
inline constexpr float FallSpeed = -0.5f;         // terminal vertical velocity
inline constexpr float JumpSpeed = 0.875f;        // the vertical velocity a jump starts with
inline constexpr float ShortJumpDivisor = 1.75f;  // letting go while rising divides the velocity by it
inline constexpr float RespawnDepth = -25.0f;     // below this height the player is put back

// The eye's bob.
inline constexpr float JumpBobPhase = 2.3561945f;  // 3/4 pi: the eye starts high and dips on landing
inline constexpr float BobRate = 1.25f;            // phase per unit of distance walked
inline constexpr float BobSettle = 0.225f;         // phase per step while running on to rest
inline constexpr float BobAmplitude = 0.5f;

// The collision, read by the plain pass, the prepared pass, the bounds that let it skip triangles
// and the tools that walk a room. A falling actor lands on a floor whose plane lies less than
// LandingAbove below its feet or less than dt * (|vy| + LandingSlack) above them, so a fall cannot
// skip a floor within one step.
inline constexpr float LandingAbove = 0.2f;
inline constexpr float LandingSlack = 0.5f;
// Walls test the point this far above the feet: a floor's edge is no wall, a lower kerb is walked
// onto.
inline constexpr float WallProbeHeight = 0.25f;
// The steepest face the player walks on, as its rise per unit across. Walking at full speed the feet
// end a step 0.2 * rise + 0.03 below a ramp's surface, which a landing catches up to LandingSlack +
// 0.03: rises below 2.5 are climbed, steeper ones fallen through. The limit keeps a tenth of the
// speed in hand (a wall's push may add to it). Steeper faces are walls.
inline constexpr float WalkableRise = 2.25f;
// The same limit as the least |normal y| of a walkable face, 1 / sqrt(1 + rise^2), lowered by a few
// float roundings so that a face of exactly WalkableRise (a built ramp) stays walkable.
inline constexpr float WalkableNormalY =
    static_cast<float>(1.0 / CollisionMath::Sqrt(1.0 + double(WalkableRise) * WalkableRise) * (1.0 - 1.0e-6));

}  // namespace Movement

}  // namespace Application
