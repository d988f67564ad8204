// Why an image the game refused does not decode, where its bytes tell: a PNG of other than 8 bits a
// sample, interlaced or with corrupt image data; a progressive, arithmetic-coded, 12-bit or CMYK JPEG;
// a BMP with a header the decoder does not read; a size beyond the game's limit; a file cut short; or a
// format the decoder does not read at all; each with its fix. Reads the bytes with the image
// screening's own readers and changes nothing. Only asked after the loader has refused the file.
// Stateless; any thread.
#pragma once

#include "imagecheck/image_bytes.h"

#include <string>

namespace StagewalkCheck {

// The reasons `bytes` cannot be decoded, with their fixes, joined by "; "; empty when the bytes do
// not show why.
std::string ExplainRefusedImage(ImageCheck::ImageBytes& bytes);

}  // namespace StagewalkCheck
