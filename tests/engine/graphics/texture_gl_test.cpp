// Textures from decoded files: texels match the file with its top row at t = 0.
#include "engine/graphics/drawing_fixture.h"
#include "support/scratch_dir.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <vector>

namespace {

using TestSupport::GLTest;

using TextureTest = GLTest;

TEST_F(TextureTest, TexelsMatchTheFileTopRowFirst) {
    const int width = 5;
    const int height = 3;
    std::vector<unsigned char> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(), {static_cast<unsigned char>(x * 50), static_cast<unsigned char>(y * 100),
                                         static_cast<unsigned char>(7 + x + y), static_cast<unsigned char>(255 - x)});
        }
    }
    TestSupport::ScratchDir dir;
    const std::string path = dir.File("image.png");
    ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0);

    std::unique_ptr<Engine::Texture> texture(Engine::CreateTexture(Engine::LoadBitmap(path)));
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->id, 0u);
    EXPECT_EQ(texture->width, width);
    EXPECT_EQ(texture->height, height);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture->id);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    // glGetTexImage returns row t = 0 first.
    std::vector<unsigned char> texels(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, pixels);
}

TEST_F(TextureTest, BitmapWithoutPixelsGivesNoTexture) {
    Engine::RawBitmap raw;
    raw.width = 4;
    raw.height = 4;
    GLint before = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &before);
    EXPECT_EQ(Engine::CreateTexture(&raw), nullptr);  // `raw` is not released
    EXPECT_EQ(Engine::CreateTexture(nullptr), nullptr);
    GLint after = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &after);
    EXPECT_EQ(after, before);
}

}  // namespace
