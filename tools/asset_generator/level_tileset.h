// Paints the level format's tile set: 64 numbered floor heights shaded from low to high, then an
// unused blank tile, the four ramps (an arrow towards the high side), the four diagonal half tiles
// (the open half shaded) and the finish (a chequered flag). Shape tiles are transparent around their marks,
// so the height painted in the layer below stays readable in a map editor. Generator only.
#pragma once

#include "image.h"

namespace AssetGenerator {

Image MakeLevelTileset();  // 8 tiles a row, 32 x 32 pixels each, in tile-number order from 1

}  // namespace AssetGenerator
