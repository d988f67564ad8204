// Loading shader programs: the failure messages in their order of checks with the driver log in
// them, and the shipped shader pair with its attribute and uniform contract.
#include "engine/graphics/drawing_fixture.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

const char* const kVertex =
    "#version 120\nattribute vec3 vertexPos;\nvoid main() { gl_Position = vec4(vertexPos, 1.0); }\n";
const char* const kFragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";

// The message Load throws for these two files, or "" when it succeeds.
std::string LoadError(const std::string& vertexPath, const std::string& fragmentPath) {
    try {
        std::unique_ptr<Engine::ShaderProgram>(Engine::ShaderProgram::Load(vertexPath, fragmentPath))
            ->Delete();
        return "";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

using ShaderProgramTest = TestSupport::GLTest;

TEST_F(ShaderProgramTest, FailuresAreReportedInOrderWithTheDriverLog) {
    TestSupport::ScratchDir dir;
    const std::string vertex = dir.Write("v.glsl", kVertex);
    const std::string fragment = dir.Write("f.glsl", kFragment);
    const std::string missing = dir.File("missing.glsl");
    EXPECT_EQ(LoadError(missing, missing), "Failed to open vertex shader! (" + missing + ")");
    EXPECT_EQ(LoadError(vertex, missing), "Failed to open fragment shader! (" + missing + ")");
    EXPECT_EQ(LoadError(vertex, fragment), "");

    const std::string broken =
        dir.Write("broken.glsl", "#version 120\nvoid main() { gl_Position = oops; }\n");
    // Mesa warns about an unknown extension asked for with "warn"; a warning alone fails the load.
    // The comment makes the source unique per run: Mesa's shader cache drops the log of a source
    // it has compiled before.
    const std::string warning =
        dir.Write("warning.glsl", std::string("#version 120\n// ") + dir.Path() + "\n" +
                                      "#extension GL_STAGEWALK_unknown : warn\n" + (kVertex + 13));
    const std::string unlinkable =
        dir.Write("unlinkable.glsl",
                  "#version 120\nvarying float unset;\nvoid main() { gl_FragColor = vec4(unset); }\n");
    struct Case {
        std::string vertex, fragment, prefix, logWord;
    };
    for (const Case& c : {Case{broken, broken, "Vertex shader error: ", "oops"},
                          Case{vertex, broken, "Fragment shader error: ", "oops"},
                          Case{warning, fragment, "Vertex shader error: ", "GL_STAGEWALK_unknown"},
                          Case{vertex, unlinkable, "Shader error: ", "unset"}}) {
        const std::string error = LoadError(c.vertex, c.fragment);
        EXPECT_EQ(error.rfind(c.prefix, 0), 0u) << error;
        EXPECT_NE(error.find(c.logWord, c.prefix.size()), std::string::npos) << error;
        EXPECT_EQ(error.back(), ':') << error;
    }
}

TEST_F(ShaderProgramTest, ShippedShadersLoadSilentlyAndKeepTheContract) {
    testing::internal::CaptureStdout();
    std::unique_ptr<Engine::ShaderProgram> program(Engine::ShaderProgram::Load(
        GraphicsTesting::ShippedShader("vertex.glsl"), GraphicsTesting::ShippedShader("fragment.glsl")));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Shader program loaded successfully.\n");
    const GLuint id = program->GetId();
    ASSERT_NE(id, 0u);
    EXPECT_EQ(glGetAttribLocation(id, "vertexPos"), 0);
    EXPECT_EQ(glGetAttribLocation(id, "vertexUV"), 1);
    EXPECT_EQ(glGetAttribLocation(id, "normalCoords"), 2);
    // A uniform declared but unused is optimised away and reads -1.
    for (const char* name : {"model", "view", "projection", "tintColor", "fogColor", "fogMin", "fogMax",
                             "fogEnabled", "texturesEnabled", "lightEnabled", "paletteLimiter"}) {
        EXPECT_GE(glGetUniformLocation(id, name), 0) << name;
    }
    float limiter = 0.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "paletteLimiter"), &limiter);
    EXPECT_FLOAT_EQ(limiter, 32.0f);

    program->Use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), id);
    program->Unuse();
    program->Delete();
}

}  // namespace
