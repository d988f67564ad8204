// Models: ownership and order of meshes, and their creation from loader-side records.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using GraphicsTesting::DrawingTest;
using TestSupport::Rgba;

// A one-triangle record whose first x coordinate is `tag`, so meshes can be told apart.
std::unique_ptr<Engine::MeshData> Record(float tag) {
    auto data = std::make_unique<Engine::MeshData>();
    data->positions = {tag, 0, 0, 1, 0, 0, 1, 1, 0};
    data->indices = {0, 1, 2};
    data->uvs = {0, 0, 1, 0, 1, 1};
    data->normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    return data;
}

// A unit quad at (x, 0) in model space.
Engine::Mesh* QuadAt(float x) {
    return new Engine::Mesh({x, 0, 0, x + 1, 0, 0, x + 1, 1, 0, x, 1, 0}, {0, 1, 2, 2, 3, 0},
                            {0, 0, 1, 0, 1, 1, 0, 1}, {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1});
}

using ModelTest = DrawingTest;

TEST_F(ModelTest, CreateModelKeepsTheRecordOrder) {
    auto* data = new Engine::ModelData;
    for (float tag : {10.0f, 20.0f, 30.0f}) data->push_back(Record(tag));
    std::unique_ptr<Engine::Model> model(Engine::CreateModel(data));  // consumes `data`
    ASSERT_EQ(model->GetMeshCount(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(model->GetMesh(i)->GetPositions()[0], 10.0f * static_cast<float>(i + 1));
        EXPECT_EQ(model->GetMesh(i)->GetIndices(), (std::vector<uint32_t>{0, 1, 2}));
    }
}

TEST_F(ModelTest, CreateModelOfNothingIsEmpty) {
    std::unique_ptr<Engine::Model> empty(Engine::CreateModel(new Engine::ModelData));
    EXPECT_EQ(empty->GetMeshCount(), 0u);
    std::unique_ptr<Engine::Model> none(Engine::CreateModel(nullptr));
    EXPECT_EQ(none->GetMeshCount(), 0u);
}

TEST_F(ModelTest, GetMeshPastTheEndIsNull) {
    Engine::Model model;
    EXPECT_EQ(model.GetMesh(0), nullptr);
    Engine::Mesh* first = QuadAt(0);
    model.AddMesh(first);
    model.AddMesh(QuadAt(1));
    EXPECT_EQ(model.GetMesh(0), first);
    EXPECT_NE(model.GetMesh(1), nullptr);
    EXPECT_EQ(model.GetMesh(2), nullptr);
    EXPECT_EQ(model.GetMesh(~0u), nullptr);

    model.PopMesh();
    EXPECT_EQ(model.GetMeshCount(), 1u);
    EXPECT_EQ(model.GetMesh(0), first);
    model.PopMesh();
    model.PopMesh();  // already empty: nothing happens
    EXPECT_EQ(model.GetMeshCount(), 0u);
}

TEST_F(ModelTest, DrawGivesMeshIItsOwnTexture) {
    Engine::Model model;
    model.AddMesh(QuadAt(0));
    model.AddMesh(QuadAt(1));
    model.AddMesh(QuadAt(2));
    auto red = GraphicsTesting::SolidTexture(2, 2, Rgba{255, 0, 0, 255});
    auto green = GraphicsTesting::SolidTexture(2, 2, Rgba{0, 255, 0, 255});
    graphics->transform.Scale(16, 16, 1);
    graphics->transform.Apply();

    graphics->DrawModel(&model, std::vector<Engine::Texture*>{red.get(), green.get(), red.get()});
    EXPECT_EQ(At(8, 8), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(At(24, 8), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(At(40, 8), (Rgba{255, 0, 0, 255}));

    graphics->DrawModel(&model, green.get());
    for (int x : {8, 24, 40}) EXPECT_EQ(At(x, 8), (Rgba{0, 255, 0, 255})) << x;

    // A list shorter than the model draws the rest untextured instead of reading past its end.
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetTintColor(0, 0, 1, 1);
    graphics->DrawModel(&model, std::vector<Engine::Texture*>{red.get()});
    EXPECT_EQ(At(40, 8), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
