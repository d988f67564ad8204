// Why an image the game refused does not decode, where its bytes tell: a PNG of other than 8 bits a
// sample or interlaced, a progressive, 12-bit or CMYK JPEG, a size beyond the game's limit, a file
// cut short, or a format the decoder does not read at all; each with its fix. Only asked after the
// loader has refused the file; reads the bytes, changes nothing. Stateless; any thread.
#pragma once

#include "engine/assets/image_check.h"

#include <string>

namespace StagewalkCheck {

// The reasons `bytes` cannot be decoded, with their fixes, joined by "; "; empty when the bytes do
// not show why.
std::string ExplainRefusedImage(Engine::ImageBytes& bytes);

}  // namespace StagewalkCheck
