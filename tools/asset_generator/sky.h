// The night sky: the texture "sky" and the box model "skybox" it is drawn on. The game draws the box
// centred on the camera, raised by 50 and scaled by 120, with clamped texture coordinates, inside a
// 200-unit far plane and around a 100-unit backdrop cylinder; the layout below keeps the box within
// both limits and puts the painted horizon at eye level. Generator only.
#pragma once

#include "image.h"
#include "obj_writer.h"

namespace AssetGenerator {

struct SkyLayout {
    // Box in model units. The eye sits at y = -50 / 120 inside it.
    double halfWidth = 0.875;  // x and z span [-halfWidth, halfWidth]: 105 world units, outside the
                               // 100-unit backdrop cylinder
    double top = 0.625;        // farthest top corner: sqrt(2 * 105^2 + 125^2) = 194 < 200 (far plane)
    double bottom = -1.0;
    double eyeY = -50.0 / 120.0;

    // Texture, rows from the top (v = 0) down.
    int width = 1024;
    int height = 512;
    int stripRows = 256;   // rows [0, stripRows): the side faces, top of the box at row 1, bottom at
                           // row stripRows - 1 (texel edges); u runs once around the four sides
    int regionSize = 256;  // square regions below the strip: the top face's at column 0, the bottom
                           // face's at column 2 * regionSize
    int regionInset = 8;   // the faces stay this many texels inside their regions (uniform border)
};

Image MakeSkyImage(const SkyLayout& layout = {});         // opaque; side strip, top and bottom regions
ObjWriter MakeSkyboxModel(const SkyLayout& layout = {});  // 12 triangles facing the eye inside the box

}  // namespace AssetGenerator
