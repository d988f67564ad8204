// Rasterises the HUD's bitmap font: a 16 x 16 grid of glyph cells indexed by byte value (row 0 at
// the top), white glyphs with their coverage in alpha, each left-aligned in its cell. Generator only.
#pragma once

#include <string>

#include "image.h"

namespace AssetGenerator {

struct FontSheetLayout {
    int cellSize = 12;          // square cells; the sheet is 16 cells on each side
    double emPixels = 11.0;     // font size: the em square in pixels
    int baseline = 9;           // baseline row inside the cell, from the cell's top
    int left = 0;               // column of the pen position: the left edge of the glyph's advance box
    double coverageLow = 0.3;   // coverage at or below this becomes fully transparent
    double coverageHigh = 0.5;  // coverage at or above this becomes fully opaque
};

// Renders bytes 32..126 from the TrueType file; throws std::runtime_error when it cannot be read.
Image MakeFontSheet(const std::string& fontPath, const FontSheetLayout& layout = {});

}  // namespace AssetGenerator
