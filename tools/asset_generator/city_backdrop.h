// The city backdrop: the texture "cityBg" (a night skyline that wraps once around, transparent above
// the roofs) and the open cylinder model "cylinder" it is drawn on. The game draws the cylinder at
// (camera x, 50, camera z) scaled by 100, with repeating texture coordinates. Generator only.
#pragma once

#include "image.h"
#include "obj_writer.h"

namespace AssetGenerator {

struct CityLayout {
    // Cylinder in model units (radius 1); world y = 50 + 100 * model y.
    double top = -0.125;     // world 37.5: just above the tallest mast
    double bottom = -0.875;  // world -37.5: well below the rooftop the player walks on
    int segments = 64;

    // Texture: u once around, v = 0 at the top.
    int width = 1024;
    int height = 128;
    double baseWorldY = -10.0;  // the buildings stand on this height, a little below the eye (2..14)
};

Image MakeCityImage(const CityLayout& layout = {});          // width x height RGBA, wraps seamlessly in u
ObjWriter MakeCylinderModel(const CityLayout& layout = {});  // one object, faces and normals pointing inward

}  // namespace AssetGenerator
