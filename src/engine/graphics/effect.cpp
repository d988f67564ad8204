// Effect uniforms: every setter writes straight into the program that is current.
#include "engine/graphics/effect.h"

#include "engine/graphics/shader_program.h"

#include <GL/glew.h>

namespace Engine {

void Effect::Init(ShaderProgram* program) {
    const GLuint id = program->GetId();
    if (id == 0) {
        // Without a program the locations stay 0 rather than -1, and no OpenGL call is made.
        tintColorLocation = fogEnabledLocation = fogColorLocation = fogMaxLocation = fogMinLocation = 0;
        paletteLimiterLocation = texturesEnabledLocation = lightEnabledLocation = 0;
        return;
    }
    tintColorLocation = glGetUniformLocation(id, "tintColor");
    fogEnabledLocation = glGetUniformLocation(id, "fogEnabled");
    fogColorLocation = glGetUniformLocation(id, "fogColor");
    fogMaxLocation = glGetUniformLocation(id, "fogMax");
    fogMinLocation = glGetUniformLocation(id, "fogMin");
    paletteLimiterLocation = glGetUniformLocation(id, "paletteLimiter");
    texturesEnabledLocation = glGetUniformLocation(id, "texturesEnabled");
    lightEnabledLocation = glGetUniformLocation(id, "lightEnabled");
}

void Effect::SetDefaults() {
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glUniform4fv(tintColorLocation, 1, white);
    glUniform4fv(fogColorLocation, 1, white);
    glUniform1f(fogMaxLocation, 1.0f);
    glUniform1f(fogMinLocation, 0.5f);
    glUniform1i(fogEnabledLocation, 0);
    glUniform1i(texturesEnabledLocation, 1);
    glUniform1i(lightEnabledLocation, 0);
}

void Effect::SetTintColor(float r, float g, float b, float a) {
    const GLfloat color[4] = {r, g, b, a};
    glUniform4fv(tintColorLocation, 1, color);
}

void Effect::SetFog(Color color, float min, float max) {
    const GLfloat fogColor[4] = {color.r, color.g, color.b, color.a};
    glUniform4fv(fogColorLocation, 1, fogColor);
    glUniform1f(fogMaxLocation, max);
    glUniform1f(fogMinLocation, min);
    glUniform1i(fogEnabledLocation, 1);
}

void Effect::DisableFog() { glUniform1i(fogEnabledLocation, 0); }

bool Effect::SetTexturesEnabled(bool enabled) {
    const bool previous = texturesEnabled;
    glUniform1i(texturesEnabledLocation, enabled ? 1 : 0);
    texturesEnabled = enabled;
    return previous;
}

void Effect::SetLightEnabled(bool enabled) { glUniform1i(lightEnabledLocation, enabled ? 1 : 0); }

}  // namespace Engine
