// Hostile and unusual images through both decoding entries, from a file and from memory: every
// input the image fuzzer ever crashed, hung or exhausted memory with is refused with the bitmap
// message, and every sample image decodes to the same pixels either way.
#include "engine/assets/raw_bitmap.h"
#include "imagecheck/png_stream.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using TestSupport::ReadFile;
using TestSupport::ScratchDir;

const fs::path kCorpus = fs::path(STAGEWALK_SOURCE_DIR) / "fuzz" / "corpus" / "bitmap";

std::vector<fs::path> CorpusFiles(bool regressions) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        const bool regression = entry.path().filename().string().rfind("regress-", 0) == 0;
        if (regression == regressions) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The decoded bitmap, or null with the exception's text in `error`.
std::unique_ptr<Engine::RawBitmap> FromFile(const std::string& path, std::string& error) {
    try {
        return std::unique_ptr<Engine::RawBitmap>(Engine::LoadBitmap(path));
    } catch (const std::runtime_error& e) {
        error = e.what();
        return nullptr;
    }
}

std::unique_ptr<Engine::RawBitmap> FromMemory(const std::string& bytes, const std::string& name,
                                              std::string& error) {
    try {
        return std::unique_ptr<Engine::RawBitmap>(Engine::LoadBitmapFromMemory(
            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), name));
    } catch (const std::runtime_error& e) {
        error = e.what();
        return nullptr;
    }
}

TEST(ImageCheckTest, EveryFuzzerFindingIsRefusedBothWays) {
    const std::vector<fs::path> files = CorpusFiles(true);
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::string fileError;
        std::string memoryError;
        EXPECT_EQ(FromFile(file.string(), fileError), nullptr);
        EXPECT_EQ(fileError, "Failed to load a bitmap in " + file.string());
        EXPECT_EQ(FromMemory(ReadFile(file.string()), "data/x.img", memoryError), nullptr);
        EXPECT_EQ(memoryError, "Failed to load a bitmap in data/x.img");
    }
}

TEST(ImageCheckTest, SampleImagesDecodeAlikeFromFileAndMemory) {
    const std::vector<std::string> mustLoad = {"crosshair.png", "font16.png", "ga.png",   "gray.bmp",
                                               "gray.png",      "pal.png",    "rgb.bmp",  "rgb.jpg",
                                               "rgb.hdr",       "rgb.dds",    "rgba.tga", "rle.tga"};
    for (const fs::path& file : CorpusFiles(false)) {
        SCOPED_TRACE(file.filename().string());
        std::string fileError;
        std::string memoryError;
        const auto fromFile = FromFile(file.string(), fileError);
        const auto fromMemory = FromMemory(ReadFile(file.string()), file.string(), memoryError);
        EXPECT_EQ(fileError, memoryError);
        ASSERT_EQ(fromFile == nullptr, fromMemory == nullptr);
        if (std::find(mustLoad.begin(), mustLoad.end(), file.filename().string()) != mustLoad.end()) {
            EXPECT_NE(fromFile, nullptr) << fileError;
        }
        if (!fromFile) continue;
        ASSERT_EQ(fromFile->width, fromMemory->width);
        ASSERT_EQ(fromFile->height, fromMemory->height);
        const size_t bytes = size_t(fromFile->width) * size_t(fromFile->height) * 4;
        EXPECT_TRUE(std::equal(fromFile->pixels, fromFile->pixels + bytes, fromMemory->pixels));
    }
}

// Each sample cut short, at several points: refused or decoded, never a crash, never a hang.
TEST(ImageCheckTest, TruncatedSamplesAreRefusedOrDecoded) {
    ScratchDir dir;
    for (const fs::path& file : CorpusFiles(false)) {
        const std::string bytes = ReadFile(file.string());
        for (size_t keep :
             {size_t{0}, size_t{1}, size_t{8}, size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
            if (keep >= bytes.size()) continue;
            SCOPED_TRACE(file.filename().string() + " cut to " + std::to_string(keep));
            const std::string cut = bytes.substr(0, keep);
            std::string fileError;
            std::string memoryError;
            const auto fromFile = FromFile(dir.Write("cut.img", cut), fileError);
            const auto fromMemory = FromMemory(cut, "cut.img", memoryError);
            if (file.extension() == ".png") {  // a PNG without its IEND is always refused
                EXPECT_EQ(fromFile, nullptr);
                EXPECT_EQ(fromMemory, nullptr);
            }
            if (fromMemory) {
                EXPECT_GT(fromMemory->width, 0);
            }
        }
    }
}

// The inflated size the stream check wants: one filter byte a row, then the row's samples.
TEST(ImageCheckTest, PngRawBytesCountsAFilterBytePerRow) {
    struct Case {
        uint64_t width, height;
        unsigned colorType;
        uint64_t bytes;
    };
    const Case cases[] = {{1, 1, 6, 5},  {8, 8, 6, 264}, {3, 2, 0, 8}, {3, 2, 2, 20}, {3, 2, 3, 8},
                          {3, 2, 4, 14}, {4, 4, 5, 0},   {4, 4, 7, 0}, {0, 4, 6, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ImageCheck::PngRawBytes(c.width, c.height, c.colorType), c.bytes)
            << c.width << "x" << c.height << " type " << c.colorType;
    }
}

// A PNG of 4 x 2 RGBA pixels from its pieces: the filtered rows (`extraRows` more or fewer than the
// header needs), compressed (`wrongCheck` flips a bit of the check value), then `after` appended to
// the stream, split over two IDAT chunks with `between` as a chunk between them.
std::string Png(int extraRows, const std::string& after, const std::string& between,
                bool wrongCheck = false) {
    std::string raw;
    for (int row = 0; row < 2 + extraRows; ++row) {
        raw += '\0';
        for (int i = 0; i < 16; ++i) raw += static_cast<char>(row * 16 + i);
    }
    uLongf size = compressBound(raw.size());
    std::string stream(size, '\0');
    compress(reinterpret_cast<Bytef*>(&stream[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
             raw.size());
    stream.resize(size);
    if (wrongCheck) stream.back() ^= 1;
    stream += after;
    std::string png = "\x89PNG\r\n\x1a\n";
    auto chunk = [&png](const std::string& type, const std::string& data) {
        for (int shift : {24, 16, 8, 0}) png += static_cast<char>(data.size() >> shift);
        const std::string body = type + data;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
        png += body;
        for (int shift : {24, 16, 8, 0}) png += static_cast<char>(crc >> shift);
    };
    chunk("IHDR", std::string("\0\0\0\4\0\0\0\2\x08\x06\0\0\0", 13));
    chunk("IDAT", stream.substr(0, stream.size() / 2));
    if (!between.empty()) chunk(between, "note");
    chunk("IDAT", stream.substr(stream.size() / 2));
    chunk("IEND", "");
    return png;
}

// The image data is read chunk by chunk as the file has it: IDAT chunks apart and data after the
// stream decode as the decoder decodes them; rows missing or too many, or a wrong check value, are
// refused.
TEST(ImageCheckTest, PngImageDataIsTakenAsTheDecoderTakesIt) {
    struct Case {
        const char* what;
        std::string png;
        bool decodes;
    };
    const Case cases[] = {
        {"IDAT chunks in a row", Png(0, "", ""), true},
        {"another chunk between IDAT chunks", Png(0, "", "tEXt"), true},
        {"data after the stream's end", Png(0, "trailing", "tEXt"), true},
        {"a row fewer than the header says", Png(-1, "", ""), false},
        {"a row more than the header says", Png(1, "", ""), false},
        {"a wrong check value", Png(0, "", "", true), false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto bitmap = FromMemory(c.png, "data/x.png", error);
        ASSERT_EQ(bitmap != nullptr, c.decodes) << c.what << ": " << error;
        if (bitmap) {
            EXPECT_EQ(bitmap->pixels[4 * 7 + 3], 16 + 15) << c.what;  // the last pixel's alpha
        }
    }
}

}  // namespace
