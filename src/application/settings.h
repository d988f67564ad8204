// The application's settings record and the reader that fills it from config.tml. Read once by
// the application shell's configure hook, on the main thread, before the window exists.
#pragma once

#include "engine/core/types.h"

#include <string>

namespace Tml {
class Document;
}

namespace Application {

struct Settings {
    Engine::Point windowSize{640, 480};
    bool fullscreen = false;
    bool canvasEnabled = false;  // stored, never read: the game always draws through the canvas
    float fps = 60.0f;           // stored, never read: the frame period is fixed
    Engine::Point canvasSize{640, 480};
    std::string assetPath;   // the asset manifest, used as given
    std::string shaderPath;  // folder of vertex.glsl and fragment.glsl
};

// Reads the document at `path`; a missing file leaves every default. Markup errors propagate.
// Throws std::runtime_error naming the file, group/key and text for a value that is not an int.
Settings ReadSettings(const std::string& path);

// Applies the "application" nodes of an already parsed document; `path` names it in messages.
Settings ReadSettings(const Tml::Document& document, const std::string& path);

enum class IntParse { Ok, Invalid, OutOfRange };
// The standard base-10 conversion: leading white space, optional sign, the longest digit run; the
// rest of the text is ignored ("800px" gives 800). No digits: Invalid; beyond int: OutOfRange.
IntParse ParseInt(const std::string& text, int& value);

}  // namespace Application
