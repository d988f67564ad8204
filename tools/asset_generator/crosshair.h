// Paints the HUD crosshair: a small white plus with a gap in the middle and a dark outline, centred
// on the image's middle point so a 32 x 32 sprite drawn at (W/2 - 16, H/2 - 16) marks the screen
// centre. Generator only.
#pragma once

#include "image.h"

namespace AssetGenerator {

Image MakeCrosshair(int size = 32);  // size must be even; the cross is mirror-symmetric both ways

}  // namespace AssetGenerator
