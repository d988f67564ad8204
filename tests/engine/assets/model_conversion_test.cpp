#include "engine/assets/model_conversion.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Engine::MeshData;
using Engine::ModelData;

// Attributes 1..count, each recognisable by its values: position (i, 10 i, 100 i), uv (0.5 i, 0.25 i),
// normal (0, 0, i), so that every copied value names the attribute it came from.
std::string Attributes(int count) {
    std::string obj;
    for (int i = 1; i <= count; ++i) {
        obj += "v " + std::to_string(i) + " " + std::to_string(10 * i) + " " + std::to_string(100 * i) + "\n";
        obj += "vt " + std::to_string(0.5 * i) + " " + std::to_string(0.25 * i) + "\n";
        obj += "vn 0 0 " + std::to_string(i) + "\n";
    }
    return obj;
}

class ConvertObjTest : public testing::Test {
protected:
    std::unique_ptr<ModelData> Convert(const std::string& obj) {
        return std::unique_ptr<ModelData>(Engine::ConvertObj(dir.Write("model.obj", obj)));
    }

    TestSupport::ScratchDir dir;
};

void ExpectCountingIndices(const MeshData& mesh, std::size_t corners) {
    EXPECT_EQ(mesh.positions.size(), corners * 3);
    EXPECT_EQ(mesh.normals.size(), corners * 3);
    EXPECT_EQ(mesh.uvs.size(), corners * 2);
    ASSERT_EQ(mesh.indices.size(), corners);
    for (std::size_t i = 0; i < corners; ++i) EXPECT_EQ(mesh.indices[i], i);
}

TEST_F(ConvertObjTest, OnlyHeightsSnapDownToThousandths) {
    auto model = Convert(
        "v 0.12345 1.23456 -0.98765\nv 1 -0.0004 0\nv 0 2 1\n"
        "vt 0.1234 0.5678\nvn 0.3333 0.6666 0.9999\nf 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(model->size(), 1u);
    const MeshData& mesh = *(*model)[0];
    ExpectCountingIndices(mesh, 3);
    EXPECT_EQ(mesh.positions, (std::vector<float>{0.12345f, 1.234f, -0.98765f, 1, -0.001f, 0, 0, 2, 1}));
    EXPECT_EQ(mesh.uvs[0], 0.1234f);
    EXPECT_EQ(mesh.uvs[1], 0.5678f);  // v is not flipped
    EXPECT_EQ(mesh.normals[1], 0.6666f);
}

TEST_F(ConvertObjTest, CornersCopyTheirOwnAttributes) {
    auto model = Convert(Attributes(3) + "f 3/1/2 1/2/3 2/3/1\n");
    const MeshData& mesh = *(*model)[0];
    EXPECT_EQ(mesh.positions, (std::vector<float>{3, 30, 300, 1, 10, 100, 2, 20, 200}));
    EXPECT_EQ(mesh.uvs, (std::vector<float>{0.5f, 0.25f, 1, 0.5f, 1.5f, 0.75f}));
    EXPECT_EQ(mesh.normals, (std::vector<float>{0, 0, 2, 0, 0, 3, 0, 0, 1}));
}

TEST_F(ConvertObjTest, OneRecordPerShapeWithFaces) {
    auto model = Convert(Attributes(6) +
                         "o first\nf 1/1/1 2/2/2 3/3/3\n"
                         "o wire\nl 1 2\n"
                         "o second\nf 4/4/4 5/5/5 6/6/6\nf 1/1/1 2/2/2 3/3/3\n");
    ASSERT_EQ(model->size(), 2u);
    ExpectCountingIndices(*(*model)[0], 3);
    EXPECT_EQ((*model)[0]->positions, (std::vector<float>{1, 10, 100, 2, 20, 200, 3, 30, 300}));
    ExpectCountingIndices(*(*model)[1], 6);
    EXPECT_EQ((*model)[1]->positions[0], 4.0f);
}

struct CornerCase {
    const char* what;
    const char* faces;
    std::size_t corners;
};

class ConvertObjCorners : public ConvertObjTest, public testing::WithParamInterface<CornerCase> {};

TEST_P(ConvertObjCorners, OneVertexPerCornerCountedInOrder) {
    auto model = Convert(Attributes(4) + GetParam().faces);
    ASSERT_EQ(model->size(), 1u);
    ExpectCountingIndices(*(*model)[0], GetParam().corners);
}

INSTANTIATE_TEST_SUITE_P(Faces, ConvertObjCorners,
                         testing::Values(CornerCase{"four_triangles",
                                                    "f 1/1/1 2/2/2 3/3/3\nf 1/1/1 3/3/3 4/4/4\n"
                                                    "f 2/2/2 3/3/3 4/4/4\nf 4/4/4 1/1/1 2/2/2\n",
                                                    12},
                                         CornerCase{"quad", "f 1/1/1 2/2/2 3/3/3 4/4/4\n", 6}),
                         [](const testing::TestParamInfo<CornerCase>& info) {
                             return std::string(info.param.what);
                         });

TEST_F(ConvertObjTest, MissingAttributesAndBadIndicesReadAsZero) {
    // Corners without uv and normal; then indices past the arrays (kept by the library with only a
    // warning) and relative ones reaching before the first element (which it turns negative).
    auto model = Convert(Attributes(2) + "f 1 2 1\nf 9/1/1 1/9/1 1/1/9\nf -5/1/1 1/-5/1 1/1/-3\n");
    const MeshData& mesh = *(*model)[0];
    ExpectCountingIndices(mesh, 9);
    const float z = 0;
    EXPECT_EQ(mesh.positions, (std::vector<float>{1, 10, 100, 2, 20, 200, 1, 10, 100,  //
                                                  z, z,  z,   1, 10, 100, 1, 10, 100,  //
                                                  z, z,  z,   1, 10, 100, 1, 10, 100}));
    EXPECT_EQ(mesh.uvs, (std::vector<float>{z, z, z, z, z, z, 0.5f, 0.25f, z, z, 0.5f, 0.25f, 0.5f, 0.25f, z,
                                            z, 0.5f, 0.25f}));
    EXPECT_EQ(mesh.normals, (std::vector<float>{z, z, z, z, z, z, z, z, z, 0, 0, 1, 0, 0, 1, z, z, z,  //
                                                0, 0, 1, 0, 0, 1, z, z, z}));
}

struct Failure {
    const char* what;
    const char* obj;  // null: no file at all
    const char* libraryText;
};

class ConvertObjFails : public ConvertObjTest, public testing::WithParamInterface<Failure> {};

TEST_P(ConvertObjFails, NamesThePathAndTheLibraryText) {
    const std::string path = GetParam().obj ? dir.Write("bad.obj", GetParam().obj) : dir.File("missing.obj");
    try {
        delete Engine::ConvertObj(path);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        const std::string prefix = "Error loading a file in " + path + ":";
        ASSERT_EQ(message.substr(0, prefix.size()), prefix);
        EXPECT_NE(message.find(GetParam().libraryText, prefix.size()), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << "the message is one line: " << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertObjFails,
    testing::Values(Failure{"missing", nullptr, "Cannot open file"},
                    Failure{"zero_index", "v 0 0 0\nf 0 1 1\n", "Failed parse `f' line"}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.what); });

TEST_F(ConvertObjTest, MemoryEntryConvertsLikeTheFile) {
    const std::string texts[] = {
        Attributes(4) + "o a\nf 1/1/1 2/2/2 3/3/3 4/4/4\no b\nf -1/-1/-1 -2/-2/-2 -3/-3/-3\n",
        Attributes(2) + "f 1 2 1\nf 9/1/1 1/9/1 1/1/9\nf -5/1/1 1/-5/1 1/1/-3\n",
        "mtllib absent.mtl\nusemtl none\n" + Attributes(3) + "f 1//1 2//2 3//3\n",
        "",
    };
    for (const std::string& text : texts) {
        auto fromFile = Convert(text);
        const std::unique_ptr<ModelData> fromMemory(Engine::ConvertObjFromMemory(text, "mem.obj"));
        ASSERT_EQ(fromMemory->size(), fromFile->size()) << text;
        for (std::size_t i = 0; i < fromFile->size(); ++i) {
            EXPECT_EQ((*fromMemory)[i]->positions, (*fromFile)[i]->positions) << text;
            EXPECT_EQ((*fromMemory)[i]->normals, (*fromFile)[i]->normals) << text;
            EXPECT_EQ((*fromMemory)[i]->uvs, (*fromFile)[i]->uvs) << text;
            EXPECT_EQ((*fromMemory)[i]->indices, (*fromFile)[i]->indices) << text;
        }
    }
}

}  // namespace
