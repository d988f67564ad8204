// The level "room2": a two-level rooftop terrace in model units (the game draws and collides it at
// scale 8). A lower deck open to the void on its west side, a ramp up to an upper deck whose edge
// towards the lower deck is partly diagonal, low parapets, pillars, a crate to jump on and a hut on
// the upper deck. Generator only.
#pragma once

#include "obj_writer.h"

namespace AssetGenerator {

ObjWriter MakeRoomModel();  // the whole level as the single object "room2"

}  // namespace AssetGenerator
