// The application's settings record and the reader that fills it from config.tml, key by key as the
// table of config keys says. Read once by the application shell's configure hook, on the main
// thread, before the window exists.
#pragma once

#include "engine/core/types.h"

#include <string>

namespace Tml {
class Document;
}

namespace Application {

struct Settings {
    Settings();  // every field at its default from the table of config keys

    Engine::Point windowSize;
    bool fullscreen;
    bool canvasEnabled;  // stored, never read: the game always draws through the canvas
    float fps;           // stored, never read: the frame period is fixed
    Engine::Point canvasSize;
    std::string assetPath;   // the asset manifest, used as given
    std::string shaderPath;  // folder of vertex.glsl and fragment.glsl
    bool vsync;              // ask for a swap interval of one refresh
    float sensitivity;       // multiplies the mouse look: at 1, 96 counts turn one radian
    bool invert;             // moving the mouse up looks down
    float volume;            // the sound's master volume, 0 to 1
    bool muted;              // start with the sound off (left Ctrl + M toggles it)
};

// Reads the document at `path`; a missing file leaves every default. Markup errors propagate.
// Throws std::runtime_error naming the file, group/key and text for a value the game refuses.
Settings ReadSettings(const std::string& path);

// Applies the "application" nodes of an already parsed document; `path` names it in messages.
Settings ReadSettings(const Tml::Document& document, const std::string& path);

}  // namespace Application
