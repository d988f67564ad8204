// The finish's marker: the model "finishMarker" (a beam of light, a box without top or bottom, and a
// floor under it, both one unit square, which the game scales over each finish rectangle) with its two
// textures, "finishBeam" (a glow that fades upwards) and "finishFloor" (a chequered flag's squares).
// Generator only.
#pragma once

#include "image.h"
#include "obj_writer.h"

namespace AssetGenerator {

ObjWriter MakeFinishMarkerModel();  // object "beam" (4 sides facing out), then object "floor" (facing up)
Image MakeFinishBeamImage();        // 16 x 64, gold, bright and opaque at the foot, clear at the top
Image MakeFinishFloorImage();       // 64 x 64, 8 x 8 black and white squares in a gold border

}  // namespace AssetGenerator
