// Textures from decoded files: texels match the file with its top row at t = 0.
#include "engine/graphics/drawing_fixture.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <vector>

namespace {

using TextureTest = TestSupport::GLTest;

TEST_F(TextureTest, TexelsMatchTheFileTopRowFirst) {
    const int width = 5;
    const int height = 3;
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {uint8_t(i * 9), uint8_t(i), 7, uint8_t(255 - i)});
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("image.png");
    ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0);

    std::unique_ptr<Engine::Texture> texture(Engine::CreateTexture(Engine::LoadBitmap(path)));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width, width);
    EXPECT_EQ(texture->height, height);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture->id);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    // glGetTexImage returns row t = 0 first.
    std::vector<unsigned char> texels(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, pixels);
}

TEST_F(TextureTest, BitmapWithoutPixelsGivesNoTexture) {
    Engine::RawBitmap raw;  // stays the caller's
    raw.width = 4;
    raw.height = 4;
    EXPECT_EQ(Engine::CreateTexture(&raw), nullptr);
    EXPECT_EQ(Engine::CreateTexture(nullptr), nullptr);
}

}  // namespace
