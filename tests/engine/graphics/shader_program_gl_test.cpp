// Loading shader programs: the failure messages in their order of checks, the driver log in the
// message, and the shipped shader pair with its attribute and uniform contract.
#include "engine/graphics/drawing_fixture.h"
#include "support/scratch_dir.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

using TestSupport::GLTest;
using TestSupport::ScratchDir;

const char* const kVertex =
    "#version 120\n"
    "attribute vec3 vertexPos;\n"
    "void main() { gl_Position = vec4(vertexPos, 1.0); }\n";
const char* const kFragment =
    "#version 120\n"
    "void main() { gl_FragColor = vec4(1.0); }\n";

// The message Load throws for these two files, or "" when it succeeds.
std::string LoadError(const std::string& vertexPath, const std::string& fragmentPath) {
    try {
        std::unique_ptr<Engine::ShaderProgram> program(Engine::ShaderProgram::Load(vertexPath, fragmentPath));
        program->Delete();
        return "";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

using ShaderProgramTest = GLTest;

TEST_F(ShaderProgramTest, MissingFilesAreReportedVertexFirst) {
    ScratchDir dir;
    const std::string vertex = dir.Write("v.glsl", kVertex);
    const std::string fragment = dir.Write("f.glsl", kFragment);
    const std::string missing = dir.File("missing.glsl");
    EXPECT_EQ(LoadError(missing, missing), "Failed to open vertex shader!");
    EXPECT_EQ(LoadError(missing, fragment), "Failed to open vertex shader!");
    EXPECT_EQ(LoadError(vertex, missing), "Failed to open fragment shader!");
    EXPECT_EQ(LoadError(vertex, fragment), "");
}

TEST_F(ShaderProgramTest, DriverLogsFailTheStageTheyBelongTo) {
    ScratchDir dir;
    const std::string vertex = dir.Write("v.glsl", kVertex);
    const std::string fragment = dir.Write("f.glsl", kFragment);
    const std::string broken = dir.Write("broken.glsl", "#version 120\nvoid main() { gl_Position = oops; }\n");
    // Mesa warns about an unknown extension asked for with "warn"; a warning alone fails the load.
    const std::string warning = dir.Write(
        "warning.glsl", std::string("#version 120\n#extension GL_STAGEWALK_no_such_extension : warn\n") +
                            "attribute vec3 vertexPos;\nvoid main() { gl_Position = vec4(vertexPos, 1.0); }\n");
    const std::string unlinkable =
        dir.Write("unlinkable.glsl", "#version 120\nvarying float neverWritten;\n"
                                     "void main() { gl_FragColor = vec4(neverWritten); }\n");
    struct Case {
        std::string vertex, fragment, prefix, logWord;
    };
    const Case cases[] = {
        {broken, fragment, "Vertex shader error: ", "oops"},
        {broken, broken, "Vertex shader error: ", "oops"},
        {vertex, broken, "Fragment shader error: ", "oops"},
        {warning, fragment, "Vertex shader error: ", "GL_STAGEWALK_no_such_extension"},
        {vertex, unlinkable, "Shader error: ", "neverWritten"},
    };
    for (const Case& c : cases) {
        const std::string error = LoadError(c.vertex, c.fragment);
        EXPECT_TRUE(StartsWith(error, c.prefix)) << error;
        EXPECT_NE(error.find(c.logWord), std::string::npos) << error;
        ASSERT_FALSE(error.empty());
        EXPECT_EQ(error.back(), ':') << error;
        EXPECT_GT(error.size(), c.prefix.size() + 1) << "the driver log is part of the message";
    }
}

TEST_F(ShaderProgramTest, ShippedShadersLoadSilentlyAndPrintOneLine) {
    testing::internal::CaptureStdout();
    std::unique_ptr<Engine::ShaderProgram> program(Engine::ShaderProgram::Load(
        GraphicsTesting::ShippedShader("vertex.glsl"), GraphicsTesting::ShippedShader("fragment.glsl")));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Shader program loaded successfully.\n");
    ASSERT_NE(program->GetId(), 0u);
    const GLuint id = program->GetId();

    EXPECT_EQ(glGetAttribLocation(id, "vertexPos"), 0);
    EXPECT_EQ(glGetAttribLocation(id, "vertexUV"), 1);
    EXPECT_EQ(glGetAttribLocation(id, "normalCoords"), 2);
    // A uniform the shaders declare but do not use is optimised away and reads -1.
    for (const char* name : {"model", "view", "projection", "tintColor", "fogColor", "fogMin", "fogMax",
                             "fogEnabled", "texturesEnabled", "lightEnabled", "paletteLimiter"}) {
        EXPECT_GE(glGetUniformLocation(id, name), 0) << name;
    }
    float limiter = 0.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "paletteLimiter"), &limiter);
    EXPECT_FLOAT_EQ(limiter, 32.0f);

    // The one sampler reads unit 0 without being set.
    GLint count = 0;
    glGetProgramiv(id, GL_ACTIVE_UNIFORMS, &count);
    int samplers = 0;
    for (GLint i = 0; i < count; ++i) {
        char name[64];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(id, static_cast<GLuint>(i), sizeof(name), nullptr, &size, &type, name);
        if (type != GL_SAMPLER_2D) continue;
        ++samplers;
        GLint unit = -1;
        glGetUniformiv(id, glGetUniformLocation(id, name), &unit);
        EXPECT_EQ(unit, 0);
    }
    EXPECT_EQ(samplers, 1);

    program->Use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), id);
    program->Unuse();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    program->Delete();
}

TEST_F(ShaderProgramTest, LocationsOfTheShippedProgramAreFound) {
    Engine::ShaderProgram* program = GraphicsTesting::ShippedProgram();
    Engine::Effect effect;
    effect.Init(program);
    EXPECT_EQ(effect.GetPaletteLimiterLocation(), glGetUniformLocation(program->GetId(), "paletteLimiter"));
    EXPECT_GE(effect.GetPaletteLimiterLocation(), 0);
}

}  // namespace
