// Paints the desktop icon: the game's night sky over a dark skyline with lit windows, a moon, and the
// terrace floor running towards the horizon, on a rounded tile with transparent corners. Installed
// beside the desktop entry; the game itself never loads it. Generator only.
#pragma once

#include "image.h"

namespace AssetGenerator {

Image MakeIcon(int size = 128);  // square; size must be at least 16

}  // namespace AssetGenerator
