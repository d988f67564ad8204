// Meshes: buffer contents, the texture parameters each draw writes, the state a draw leaves, and
// in-place updates that never grow a buffer.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using GraphicsTesting::DrawingTest;
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

GLint TexParameter(GLuint texture, GLenum name) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint AttribEnabled(GLuint index) {
    GLint value = -1;
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
    return value;
}

using MeshTest = DrawingTest;

TEST_F(MeshTest, KeepsCopiesOfItsArrays) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    EXPECT_EQ(mesh.GetPositions(), kPositions);
    EXPECT_EQ(mesh.GetIndices(), kIndices);
    EXPECT_EQ(mesh.GetUVs(), kUVs);
    EXPECT_EQ(mesh.GetNormals(), kNormals);
    EXPECT_FALSE(mesh.GetClampToEdge());
    EXPECT_EQ(Get(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(Get(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(MeshTest, DrawsAtTheAppliedMatricesWithTheTexture) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    auto texture = GraphicsTesting::SolidTexture(4, 4, Rgba{10, 200, 30, 255});
    graphics->transform.Translate(8, 8, 0);
    graphics->transform.Scale(16, 16, 1);
    graphics->transform.Apply();
    graphics->DrawMesh(&mesh, texture.get());
    EXPECT_EQ(At(8, 8), (Rgba{10, 200, 30, 255}));
    EXPECT_EQ(At(23, 23), (Rgba{10, 200, 30, 255}));
    EXPECT_EQ(At(24, 24), (Rgba{0, 0, 0, 0}));

    graphics->Clear(Engine::Color(0, 0, 0, 0));
    graphics->DrawMesh(&mesh, texture->id);
    EXPECT_EQ(At(8, 8), (Rgba{10, 200, 30, 255}));
}

TEST_F(MeshTest, DrawLeavesNoArraysOrBuffersBoundButTheTexture) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    auto texture = GraphicsTesting::SolidTexture(2, 2, Rgba{255, 255, 255, 255});
    glBindTexture(GL_TEXTURE_2D, 0);
    mesh.Draw(texture.get(), true);
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->id));
    EXPECT_EQ(Get(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(Get(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(Get(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    for (GLuint i = 0; i < 3; ++i) EXPECT_EQ(AttribEnabled(i), GL_FALSE) << i;

    mesh.Draw(static_cast<const Engine::Texture*>(nullptr), true);
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(MeshTest, EveryDrawWritesWrapAndFilterIntoTheTexture) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    auto texture = GraphicsTesting::SolidTexture(2, 2, Rgba{255, 255, 255, 255});
    const GLuint id = texture->id;

    mesh.SetClampToEdge(true);
    mesh.Draw(id, true);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    mesh.SetClampToEdge(false);
    mesh.Draw(id, false);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);  // R is left alone
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(TexParameter(id, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
}

TEST_F(MeshTest, EmptyMeshDrawsNothing) {
    Engine::Mesh mesh({}, {}, {}, {});
    mesh.Draw(0u, true);
    graphics->DrawMesh(&mesh, 0u);
    EXPECT_EQ(At(0, 0), (Rgba{0, 0, 0, 0}));
}

TEST_F(MeshTest, UpdatesRewriteTheBufferInPlace) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    const std::vector<float> uvs{0.5f, 0.5f, 1, 0.5f, 1, 1, 0.5f, 1};
    mesh.UpdateUVs(uvs);
    EXPECT_EQ(mesh.GetUVs(), uvs);

    // The position update moves the quad: it now covers (32..48) under a 16x scale.
    const std::vector<float> positions{2, 2, 0, 3, 2, 0, 3, 3, 0, 2, 3, 0};
    mesh.UpdatePositions(positions);
    EXPECT_EQ(mesh.GetPositions(), positions);
    EXPECT_EQ(Get(GL_ARRAY_BUFFER_BINDING), 0);

    graphics->effect.SetTexturesEnabled(false);
    graphics->transform.Scale(16, 16, 1);
    graphics->transform.Apply();
    graphics->DrawMesh(&mesh, 0u);
    EXPECT_EQ(At(8, 8), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(At(40, 40), (Rgba{255, 255, 255, 255}));
}

TEST_F(MeshTest, LongerUpdatesAreRefused) {
    Engine::Mesh mesh(kPositions, kIndices, kUVs, kNormals);
    std::vector<float> longer = kUVs;
    longer.push_back(0.0f);
    mesh.UpdateUVs(longer);
    EXPECT_EQ(mesh.GetUVs(), kUVs);
    mesh.UpdatePositions(std::vector<float>(kPositions.size() + 3, 1.0f));
    EXPECT_EQ(mesh.GetPositions(), kPositions);

    // A shorter update writes the start of the buffer only.
    mesh.UpdateUVs({9, 9});
    EXPECT_EQ(mesh.GetUVs(), (std::vector<float>{9, 9}));
}

}  // namespace
