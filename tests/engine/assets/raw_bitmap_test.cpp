// Decoding image files into RGBA bitmaps, and refusing files the decoder must not be given:
// missing, garbage, truncated, or with a header claiming absurd dimensions.
#include "engine/assets/raw_bitmap.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TestSupport::ScratchDir;

std::vector<unsigned char> Pattern(int count) {
    std::vector<unsigned char> bytes;
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(i * 37 + 5));
    return bytes;
}

// An RGBA reading spreads grey over r, g and b, and a missing alpha is opaque.
std::vector<unsigned char> AsRgba(const std::vector<unsigned char>& pixels, size_t channels) {
    std::vector<unsigned char> rgba;
    for (size_t i = 0; i < pixels.size(); i += channels) {
        const unsigned char* p = &pixels[i];
        const unsigned char alpha = channels % 2 == 0 ? p[channels - 1] : 255;
        if (channels <= 2) rgba.insert(rgba.end(), {p[0], p[0], p[0], alpha});
        if (channels >= 3) rgba.insert(rgba.end(), {p[0], p[1], p[2], alpha});
    }
    return rgba;
}

// A JPEG from tests/data: stb's JPEG writer shifts signed ints past their range (undefined
// behaviour the sanitizer build stops on), so JPEG fixtures are files rather than written here.
std::string Fixture(const std::string& name) {
    const std::string bytes = TestSupport::ReadFile(std::string(STAGEWALK_TEST_DATA) + "/" + name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

std::string LoadError(const std::string& path) {
    try {
        std::unique_ptr<Engine::RawBitmap>(Engine::LoadBitmap(path));
        return "";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

TEST(RawBitmapTest, EveryChannelCountBecomesRgba) {
    ScratchDir dir;
    const int width = 7;
    const int height = 3;
    for (int channels = 1; channels <= 4; ++channels) {
        const std::vector<unsigned char> pixels = Pattern(width * height * channels);
        const std::string png = dir.File("image" + std::to_string(channels) + ".png");
        const std::string bmp = dir.File("image" + std::to_string(channels) + ".bmp");
        ASSERT_NE(stbi_write_png(png.c_str(), width, height, channels, pixels.data(), width * channels), 0);
        ASSERT_NE(stbi_write_bmp(bmp.c_str(), width, height, channels, pixels.data()), 0);
        for (const std::string& path : {png, bmp}) {
            if (path == bmp && channels != 3) continue;  // BMP holds RGB only
            std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
            EXPECT_EQ(bitmap->width, width);
            EXPECT_EQ(bitmap->height, height);
            // What the decoder reports; SOIL's BMP reader gives the requested count, not the file's.
            if (path == png) {
                EXPECT_EQ(bitmap->channels, channels);
            }
            const std::vector<unsigned char> rgba(bitmap->pixels, bitmap->pixels + width * height * 4);
            EXPECT_EQ(rgba, AsRgba(pixels, static_cast<size_t>(channels))) << path;
        }
    }
}

TEST(RawBitmapTest, UnreadableFilesGiveTheBitmapMessage) {
    ScratchDir dir;
    const std::vector<unsigned char> pixels = Pattern(32 * 32 * 3);
    const std::string png = dir.File("good.png");
    const std::string bmp = dir.File("good.bmp");
    const std::string tga = dir.File("good.tga");
    const std::string jpg = dir.Write("good.jpg", Fixture("rgb32.jpg"));
    ASSERT_NE(stbi_write_png(png.c_str(), 32, 32, 3, pixels.data(), 32 * 3), 0);
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 32, 32, 3, pixels.data()), 0);
    stbi_write_tga_with_rle = 0;
    ASSERT_NE(stbi_write_tga(tga.c_str(), 32, 32, 3, pixels.data()), 0);
    for (const std::string& good : {png, bmp, tga, jpg}) EXPECT_EQ(LoadError(good), "") << good;

    // The decoder itself would read zeros past the end of a short BMP or TGA.
    auto halfOf = [&dir](const std::string& path) {
        const std::string bytes = TestSupport::ReadFile(path);
        return dir.Write("half-" + path.substr(path.rfind('/') + 1), bytes.substr(0, bytes.size() / 2));
    };
    for (const std::string& path : {dir.File("missing.png"), dir.Path(), dir.Write("empty.png", ""),
                                    dir.Write("garbage.png", std::string(200, 'x')), halfOf(png), halfOf(bmp),
                                    halfOf(tga), halfOf(jpg)}) {
        EXPECT_EQ(LoadError(path), "Failed to load a bitmap in " + path);
    }
}

// `bytes` with the 16- or 32-bit value written at `at` in the given byte order.
std::string With(std::string bytes, size_t at, uint32_t value, int size, bool bigEndian) {
    char encoded[4] = {};
    for (int i = 0; i < size; ++i)
        encoded[i] = static_cast<char>((value >> (8 * (bigEndian ? size - 1 - i : i))) & 0xFF);
    return bytes.replace(at, static_cast<size_t>(size), encoded, static_cast<size_t>(size));
}

std::string Png(uint32_t w, uint32_t h) {
    const std::string head = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + std::string(48, '\0');
    return With(With(head, 16, w, 4, true), 20, h, 4, true);
}
std::string Bmp(int32_t w, int32_t h) {
    std::string head = With(With("BM" + std::string(62, '\0'), 10, 54, 4, false), 14, 40, 4, false);
    return With(With(With(head, 18, uint32_t(w), 4, false), 22, uint32_t(h), 4, false), 28, 24, 2, false);
}
std::string Tga(uint32_t w, uint32_t h) {
    return With(With(std::string("\0\0\x02", 3) + std::string(61, '\0'), 12, w, 2, false), 14, h, 2, false);
}
std::string Jpeg(uint32_t w, uint32_t h) {  // SOI, an APP0 segment to skip, a baseline frame header
    const std::string head("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0\xFF\xC0\0\x11\x08", 26);
    return With(With(head + std::string(38, '\0'), 26, h, 2, true), 28, w, 2, true);
}

TEST(RawBitmapTest, AbsurdDimensionsAreRefusedBeforeDecoding) {
    ScratchDir dir;
    // Well-formed files one pixel wider than allowed, which the decoder itself would accept.
    const std::vector<unsigned char> row(16385 * 3, 40);
    const std::string png = dir.File("wide.png");
    const std::string bmp = dir.File("wide.bmp");
    const std::string tga = dir.File("wide.tga");
    const std::string jpg = dir.Write("wide.jpg", Fixture("wide16385.jpg"));
    ASSERT_NE(stbi_write_png(png.c_str(), 16385, 1, 3, row.data(), 16385 * 3), 0);
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 16385, 1, 3, row.data()), 0);
    stbi_write_tga_with_rle = 0;
    ASSERT_NE(stbi_write_tga(tga.c_str(), 1, 16385, 3, row.data()), 0);
    std::vector<std::string> paths{png, bmp, tga, jpg};
    // Headers whose sizes overflow the decoder's arithmetic.
    const std::pair<const char*, std::string> headers[] = {
        {"overflowing.png", Png(0x80000000u, 2)},
        {"negative.bmp", Bmp(-4, 4)},
        {"tall-top-down.bmp", Bmp(4, -20000)},
        {"huge.tga", Tga(65535, 65535)},
        {"huge.jpg", Jpeg(65535, 65535)},
        {"huge.psd",
         With(With("8BPS" + std::string(60, '\0'), 14, 1u << 30, 4, true), 18, 1u << 30, 4, true)},
        {"huge.dds",
         With(With("DDS " + std::string(196, '\0'), 12, 1u << 20, 4, false), 16, 1u << 20, 4, false)},
        {"huge.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 100000 +X 100000\n" + std::string(64, '\0')},
    };
    for (const auto& header : headers) paths.push_back(dir.Write(header.first, header.second));
    for (const std::string& path : paths) EXPECT_EQ(LoadError(path), "Failed to load a bitmap in " + path);

    // The largest allowed width still decodes.
    ASSERT_NE(stbi_write_png(png.c_str(), 16384, 1, 3, row.data(), 16384 * 3), 0);
    EXPECT_EQ(LoadError(png), "");
}

}  // namespace
