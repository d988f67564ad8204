// Meshes: the texture parameters each draw writes, the state a draw leaves behind, and in-place
// updates that never grow a buffer.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TestSupport::Rgba;

const std::vector<float> kPositions{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
const std::vector<uint32_t> kIndices{0, 1, 2, 2, 3, 0};
const std::vector<float> kUVs{0, 0, 1, 0, 1, 1, 0, 1};
const std::vector<float> kNormals{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};

GLint Get(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

GLint TexParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

using MeshTest = GraphicsTesting::DrawingTest;

TEST_F(MeshTest, EveryDrawWritesWrapAndFilterIntoTheTexture) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    auto texture = GraphicsTesting::SolidTexture(2, 2, Rgba{255, 255, 255, 255});
    mesh.SetClampToEdge(true);
    mesh.Draw(texture.get(), true);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
        EXPECT_EQ(TexParameter(wrap), GL_CLAMP_TO_EDGE) << wrap;
    }
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    mesh.SetClampToEdge(false);
    mesh.Draw(texture->id, false);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);  // R is left alone
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);

    // The draw leaves the texture bound on unit 0 and nothing else.
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->id));
    EXPECT_EQ(Get(GL_ARRAY_BUFFER_BINDING) + Get(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    for (GLuint i = 0; i < 3; ++i) {
        GLint enabled = -1;
        glGetVertexAttribiv(i, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        EXPECT_EQ(enabled, GL_FALSE) << i;
    }
    mesh.Draw(static_cast<const Engine::Texture*>(nullptr), true);
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(MeshTest, EmptyMeshDrawsNothing) {
    Engine::Mesh mesh({}, {}, {}, {});
    graphics->DrawMesh(&mesh, 0u);
    EXPECT_EQ(At(0, 0), (Rgba{0, 0, 0, 0}));
}

TEST_F(MeshTest, UpdatesRewriteTheBufferButNeverGrowIt) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    const std::vector<float> moved{2, 2, 0, 3, 2, 0, 3, 3, 0, 2, 3, 0};
    mesh.UpdatePositions(moved);
    mesh.UpdatePositions(std::vector<float>(kPositions.size() + 3, 1.0f));  // refused
    EXPECT_EQ(mesh.GetPositions(), moved);
    std::vector<float> longer = kUVs;
    longer.push_back(0.0f);
    mesh.UpdateUVs(longer);
    EXPECT_EQ(mesh.GetUVs(), kUVs);

    graphics->effect.SetTexturesEnabled(false);
    graphics->transform.Scale(16, 16, 1);
    graphics->transform.Apply();
    graphics->DrawMesh(&mesh, 0u);
    EXPECT_EQ(At(8, 8), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(At(40, 40), (Rgba{255, 255, 255, 255}));  // the buffer moved with the copy
}

}  // namespace
