// Decoding image files into RGBA bitmaps, and refusing files the decoder must not be given:
// missing, garbage, truncated, or with a header claiming absurd dimensions.
#include "engine/assets/raw_bitmap.h"
#include "support/scratch_dir.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TestSupport::ScratchDir;

// Pixel i of a test image, with `channels` bytes per pixel.
std::vector<unsigned char> Pattern(int width, int height, int channels) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i) {
        for (int c = 0; c < channels; ++c) pixels.push_back(static_cast<unsigned char>(i * 37 + c * 71 + 5));
    }
    return pixels;
}

// What an RGBA reading of a pixel with `channels` bytes gives: grey is spread over r, g and b,
// and a missing alpha is opaque.
std::vector<unsigned char> ExpectedRgba(const std::vector<unsigned char>& pixels, int channels) {
    std::vector<unsigned char> rgba;
    for (size_t i = 0; i < pixels.size(); i += static_cast<size_t>(channels)) {
        const unsigned char* p = &pixels[i];
        switch (channels) {
            case 1: rgba.insert(rgba.end(), {p[0], p[0], p[0], 255}); break;
            case 2: rgba.insert(rgba.end(), {p[0], p[0], p[0], p[1]}); break;
            case 3: rgba.insert(rgba.end(), {p[0], p[1], p[2], 255}); break;
            default: rgba.insert(rgba.end(), {p[0], p[1], p[2], p[3]}); break;
        }
    }
    return rgba;
}

std::string LoadError(const std::string& path) {
    try {
        std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
        return "";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

void Put32(std::string& bytes, size_t at, uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
    }
}

void Put16(std::string& bytes, size_t at, uint32_t value, bool bigEndian) {
    bytes[at] = static_cast<char>(bigEndian ? value >> 8 : value & 0xFF);
    bytes[at + 1] = static_cast<char>(bigEndian ? value & 0xFF : value >> 8);
}

TEST(RawBitmapTest, PngOfEveryChannelCountBecomesRgba) {
    ScratchDir dir;
    const int width = 7;
    const int height = 3;
    for (int channels = 1; channels <= 4; ++channels) {
        const std::vector<unsigned char> pixels = Pattern(width, height, channels);
        const std::string path = dir.File("image" + std::to_string(channels) + ".png");
        ASSERT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);

        std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
        ASSERT_NE(bitmap->pixels, nullptr);
        EXPECT_EQ(bitmap->width, width);
        EXPECT_EQ(bitmap->height, height);
        EXPECT_EQ(bitmap->channels, channels);
        const std::vector<unsigned char> rgba(bitmap->pixels, bitmap->pixels + width * height * 4);
        EXPECT_EQ(rgba, ExpectedRgba(pixels, channels)) << channels << " channels";
    }
}

TEST(RawBitmapTest, BmpAndTgaDecodeTopRowFirst) {
    ScratchDir dir;
    const int width = 4;
    const int height = 2;
    const std::vector<unsigned char> pixels = Pattern(width, height, 3);
    const std::string bmp = dir.File("image.bmp");
    const std::string tga = dir.File("image.tga");
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), width, height, 3, pixels.data()), 0);
    stbi_write_tga_with_rle = 0;
    ASSERT_NE(stbi_write_tga(tga.c_str(), width, height, 3, pixels.data()), 0);
    for (const std::string& path : {bmp, tga}) {
        std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
        EXPECT_EQ(bitmap->width, width);
        EXPECT_EQ(bitmap->height, height);
        const std::vector<unsigned char> rgba(bitmap->pixels, bitmap->pixels + width * height * 4);
        EXPECT_EQ(rgba, ExpectedRgba(pixels, 3)) << path;
    }
}

TEST(RawBitmapTest, JpegIsDecodedBehindItsMetadataSegments) {
    ScratchDir dir;
    const std::vector<unsigned char> pixels(16 * 8 * 3, 128);
    const std::string path = dir.File("image.jpg");
    ASSERT_NE(stbi_write_jpg(path.c_str(), 16, 8, 3, pixels.data(), 90), 0);
    std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
    EXPECT_EQ(bitmap->width, 16);
    EXPECT_EQ(bitmap->height, 8);
    EXPECT_EQ(bitmap->channels, 3);
    EXPECT_NEAR(bitmap->pixels[0], 128, 3);
    EXPECT_EQ(bitmap->pixels[3], 255);
}

TEST(RawBitmapTest, UnreadableFilesGiveTheBitmapMessage) {
    ScratchDir dir;
    const std::vector<unsigned char> pixels = Pattern(32, 32, 3);
    const std::string png = dir.File("good.png");
    const std::string bmp = dir.File("good.bmp");
    const std::string tga = dir.File("good.tga");
    const std::string jpg = dir.File("good.jpg");
    ASSERT_NE(stbi_write_png(png.c_str(), 32, 32, 3, pixels.data(), 32 * 3), 0);
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 32, 32, 3, pixels.data()), 0);
    stbi_write_tga_with_rle = 0;
    ASSERT_NE(stbi_write_tga(tga.c_str(), 32, 32, 3, pixels.data()), 0);
    ASSERT_NE(stbi_write_jpg(jpg.c_str(), 32, 32, 3, pixels.data(), 90), 0);

    auto halfOf = [&dir](const std::string& path, const std::string& name) {
        const std::string bytes = TestSupport::ReadFile(path);
        return dir.Write(name, bytes.substr(0, bytes.size() / 2));
    };
    const std::string paths[] = {
        dir.File("missing.png"),
        dir.Path(),
        dir.Write("empty.png", ""),
        dir.Write("garbage.png", std::string(200, 'x')),
        halfOf(png, "truncated.png"),
        halfOf(bmp, "truncated.bmp"),
        halfOf(tga, "truncated.tga"),
        halfOf(jpg, "truncated.jpg"),
    };
    for (const std::string& path : paths) {
        EXPECT_EQ(LoadError(path), "Failed to load a bitmap in " + path);
    }
}

// Headers of each format the decoder reads, claiming `width` x `height`, followed by padding.
std::string PngHeader(uint32_t width, uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    bytes.resize(64, '\0');
    Put32(bytes, 16, width, true);
    Put32(bytes, 20, height, true);
    bytes[24] = 8;  // bit depth
    bytes[25] = 6;  // RGBA
    return bytes;
}

std::string BmpHeader(int32_t width, int32_t height) {
    std::string bytes(64, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 10, 54, false);
    Put32(bytes, 14, 40, false);
    Put32(bytes, 18, static_cast<uint32_t>(width), false);
    Put32(bytes, 22, static_cast<uint32_t>(height), false);
    Put16(bytes, 26, 1, false);
    Put16(bytes, 28, 24, false);
    return bytes;
}

std::string TgaHeader(uint32_t width, uint32_t height) {
    std::string bytes(64, '\0');
    bytes[2] = 2;  // uncompressed true colour
    Put16(bytes, 12, width, false);
    Put16(bytes, 14, height, false);
    bytes[16] = 24;
    return bytes;
}

std::string JpegHeader(uint32_t width, uint32_t height) {
    // SOI, an APP0 segment to skip, then a baseline frame header.
    std::string bytes("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0\xFF\xC0\0\x11\x08", 26);
    bytes.resize(64, '\0');
    Put16(bytes, 26, height, true);
    Put16(bytes, 28, width, true);
    bytes[30] = 3;
    return bytes;
}

std::string PsdHeader(uint32_t width, uint32_t height) {
    std::string bytes("8BPS\0\x01", 6);
    bytes.resize(64, '\0');
    Put16(bytes, 12, 3, true);
    Put32(bytes, 14, height, true);
    Put32(bytes, 18, width, true);
    return bytes;
}

std::string DdsHeader(uint32_t width, uint32_t height) {
    std::string bytes("DDS ", 4);
    bytes.resize(200, '\0');
    Put32(bytes, 4, 124, false);
    Put32(bytes, 12, height, false);
    Put32(bytes, 16, width, false);
    return bytes;
}

std::string HdrHeader(uint32_t width, uint32_t height) {
    return "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y " + std::to_string(height) + " +X " + std::to_string(width) +
           "\n" + std::string(64, '\0');
}

TEST(RawBitmapTest, AbsurdDimensionsAreRefusedBeforeDecoding) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"wide.png", PngHeader(16385, 1)},
        {"tall.png", PngHeader(1, 16385)},
        {"huge.png", PngHeader(0x7FFFFFFF, 0x7FFFFFFF)},
        {"wrapping.png", PngHeader(0x80000000u, 2)},
        {"wide.bmp", BmpHeader(100000, 1)},
        {"negative.bmp", BmpHeader(-4, 4)},
        {"tall-top-down.bmp", BmpHeader(4, -20000)},
        {"wide.tga", TgaHeader(20000, 2)},
        {"huge.tga", TgaHeader(65535, 65535)},
        {"wide.jpg", JpegHeader(20000, 20000)},
        {"tall.jpg", JpegHeader(8, 65535)},
        {"huge.psd", PsdHeader(1u << 30, 1u << 30)},
        {"huge.dds", DdsHeader(1u << 20, 1u << 20)},
        {"huge.hdr", HdrHeader(100000, 100000)},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write(c.name, c.bytes);
        EXPECT_EQ(LoadError(path), "Failed to load a bitmap in " + path) << c.name;
    }
}

TEST(RawBitmapTest, LargestAllowedSizeStillReachesTheDecoder) {
    // A real 16384 x 1 image is within bounds and decodes.
    ScratchDir dir;
    const std::vector<unsigned char> pixels(16384, 9);
    const std::string path = dir.File("strip.png");
    ASSERT_NE(stbi_write_png(path.c_str(), 16384, 1, 1, pixels.data(), 16384), 0);
    std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
    EXPECT_EQ(bitmap->width, 16384);
    EXPECT_EQ(bitmap->pixels[4 * 16383], 9);
}

}  // namespace
