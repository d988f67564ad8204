#include "font_sheet.h"

#include "common/whole_file.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "stb_api.h"

namespace AssetGenerator {

namespace {

std::vector<unsigned char> ReadBinary(const std::string& path) {
    const Common::WholeFile file = Common::ReadWholeFile(path, std::size_t{64} << 20);
    if (file.status != Common::WholeFile::Status::Read)
        throw std::runtime_error("cannot read the font " + path + ": " + file.reason);
    return {file.text.begin(), file.text.end()};
}

}  // namespace

Image MakeFontSheet(const std::string& fontPath, const FontSheetLayout& layout) {
    const std::vector<unsigned char> data = ReadBinary(fontPath);
    stbtt_fontinfo font;
    if (!stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)))
        throw std::runtime_error("not a TrueType font: " + fontPath);
    const float scale = stbtt_ScaleForMappingEmToPixels(&font, static_cast<float>(layout.emPixels));

    const int cell = layout.cellSize;
    Image sheet(cell * 16, cell * 16);
    for (int byte = 32; byte <= 126; ++byte) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBox(&font, byte, scale, scale, &x0, &y0, &x1, &y1);
        const int w = x1 - x0, h = y1 - y0;
        if (w <= 0 || h <= 0) continue;  // the space has no ink
        std::vector<unsigned char> coverage(static_cast<std::size_t>(w) * h, 0);
        stbtt_MakeCodepointBitmap(&font, coverage.data(), w, h, w, scale, scale, byte);

        // Monospace placement: the pen stands at the cell's left edge and the glyph keeps its side
        // bearing, so narrow glyphs ('.', 'i') sit where a fixed-width font puts them. Ink that would
        // start left of the cell is shifted in.
        const int shift = std::max(0, -x0);
        const int cellX = (byte % 16) * cell, cellY = (byte / 16) * cell;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const double c = coverage[static_cast<std::size_t>(y) * w + x] / 255.0;
                const double alpha = std::clamp(
                    (c - layout.coverageLow) / (layout.coverageHigh - layout.coverageLow), 0.0, 1.0);
                if (alpha <= 0.0) continue;
                const int px = layout.left + shift + x0 + x, py = layout.baseline + y0 + y;
                if (px < 0 || py < 0 || px >= cell || py >= cell)  // would bleed into a neighbouring cell
                    throw std::runtime_error("glyph " + std::to_string(byte) + " does not fit its cell");
                sheet.Set(cellX + px, cellY + py, {1.0, 1.0, 1.0, alpha});
            }
        }
    }
    return sheet;
}

}  // namespace AssetGenerator
