// Models: order and ownership of meshes, and their creation from loader-side records.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using TestSupport::Rgba;

// A unit quad at (x, 0).
std::unique_ptr<Engine::MeshData> QuadAt(float x) {
    auto data = std::make_unique<Engine::MeshData>();
    data->positions = {x, 0, 0, x + 1, 0, 0, x + 1, 1, 0, x, 1, 0};
    data->indices = {0, 1, 2, 2, 3, 0};
    data->uvs = {0, 0, 1, 0, 1, 1, 0, 1};
    data->normals = std::vector<float>(12, 0.0f);
    return data;
}

using ModelTest = GraphicsTesting::DrawingTest;

TEST_F(ModelTest, CreateModelKeepsTheRecordOrderAndGetMeshStopsAtTheEnd) {
    auto* data = new Engine::ModelData;
    for (float x : {0.0f, 1.0f, 2.0f}) data->push_back(QuadAt(x));
    std::unique_ptr<Engine::Model> model(Engine::CreateModel(data));  // consumes `data`
    ASSERT_EQ(model->GetMeshCount(), 3u);
    for (unsigned i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(model->GetMesh(i)->GetPositions()[0], float(i));
    EXPECT_EQ(model->GetMesh(3), nullptr);
    model->PopMesh();
    EXPECT_EQ(model->GetMesh(2), nullptr);
    EXPECT_EQ(std::unique_ptr<Engine::Model>(Engine::CreateModel(new Engine::ModelData))->GetMeshCount(), 0u);
}

TEST_F(ModelTest, DrawGivesMeshIItsOwnTexture) {
    auto* data = new Engine::ModelData;
    for (float x : {0.0f, 1.0f, 2.0f}) data->push_back(QuadAt(x));
    std::unique_ptr<Engine::Model> model(Engine::CreateModel(data));
    auto red = GraphicsTesting::SolidTexture(2, 2, Rgba{255, 0, 0, 255});
    auto green = GraphicsTesting::SolidTexture(2, 2, Rgba{0, 255, 0, 255});
    graphics->transform.Scale(16, 16, 1);
    graphics->transform.Apply();

    graphics->DrawModel(model.get(), std::vector<Engine::Texture*>{red.get(), green.get(), red.get()});
    EXPECT_EQ(At(8, 8), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(At(24, 8), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(At(40, 8), (Rgba{255, 0, 0, 255}));
    graphics->DrawModel(model.get(), green.get());
    EXPECT_EQ(At(40, 8), (Rgba{0, 255, 0, 255}));

    // A list shorter than the model draws the rest with texture name 0 (no image: black) instead
    // of reading past its end.
    graphics->DrawModel(model.get(), std::vector<Engine::Texture*>{red.get()});
    EXPECT_EQ(At(8, 8), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(At(40, 8), (Rgba{0, 0, 0, 255}));
}

}  // namespace
