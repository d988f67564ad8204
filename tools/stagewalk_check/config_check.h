// Checks config.tml as the game reads it: unknown root nodes, groups and keys (which the game skips
// silently), keys set twice, values the game refuses or misreads, and the two paths it needs.
// Single-threaded use per call; keeps no state.
#pragma once

#include "markup/document.h"
#include "stagewalk_check/diagnostics.h"

#include <string>

namespace StagewalkCheck {

// A path setting as the game ends up with it: the last value read, and where it was written.
struct PathSetting {
    std::string value;
    int line = 0;  // 0 when the key is never given
    bool given = false;
};

struct ConfigFindings {
    PathSetting assetPath;   // "properties" / "assetpath": the manifest
    PathSetting shaderPath;  // "properties" / "shaderpath": folder of the two shader files
};

// Reports the problems of the parsed `config` (named `file`) and returns the paths it sets.
// A missing or empty "assetpath" or "shaderpath" is reported here as an error.
ConfigFindings CheckConfig(const Tml::Document& config, const std::string& file, Diagnostics& out);

}  // namespace StagewalkCheck
