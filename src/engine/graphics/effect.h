// The per-draw look of the picture as shader uniforms: tint, fog, texturing and lighting switches.
// A member of Graphics; writes into the current program. Main thread only, context current.
#pragma once

#include "engine/core/types.h"

#include <cstdint>

namespace Engine {

class ShaderProgram;

class Effect {
public:
    // Looks up the eight uniform locations (all 0 when the program name is 0); writes nothing.
    void Init(ShaderProgram* program);
    // Writes every default except "paletteLimiter"; the textures shadow is left alone.
    void SetDefaults();
    void SetTintColor(float r, float g, float b, float a);  // "tintColor"
    // "fogColor", "fogMax" = max, "fogMin" = min, then "fogEnabled" = 1.
    void SetFog(Color color, float min, float max);
    void DisableFog();  // "fogEnabled" = 0
    // Writes "texturesEnabled" and returns the value the previous call wrote.
    bool SetTexturesEnabled(bool enabled);
    void SetLightEnabled(bool enabled);  // "lightEnabled"

    int32_t GetPaletteLimiterLocation() const { return paletteLimiterLocation; }

private:
    int32_t tintColorLocation = 0;
    int32_t fogEnabledLocation = 0;
    int32_t fogMaxLocation = 0;
    int32_t fogMinLocation = 0;
    int32_t fogColorLocation = 0;
    int32_t paletteLimiterLocation = 0;
    int32_t texturesEnabledLocation = 0;
    int32_t lightEnabledLocation = 0;
    bool texturesEnabled = true;  // nothing reads it before the first SetTexturesEnabled
};

}  // namespace Engine
