#include "stagewalk_check/image_diagnosis.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Be32(uint32_t v) {
    return {char(v >> 24), char((v >> 16) & 0xFF), char((v >> 8) & 0xFF), char(v & 0xFF)};
}

// Signature and header of a PNG (chunk CRCs are never read); `end` adds the closing chunk.
std::string Png(uint32_t width, uint32_t height, char depth, char interlace, bool end) {
    std::string png = "\x89PNG\r\n\x1a\n" + Be32(13) + "IHDR" + Be32(width) + Be32(height) + depth +
                      std::string("\x06\0\0", 3) + interlace + Be32(0);
    return end ? png + Be32(0) + "IEND" + Be32(0) : png;
}

// Start of image, one frame header (precision 8, 16 x 16, `components`), end of image if `end`.
std::string Jpeg(unsigned char frame, char components, bool end) {
    return std::string("\xFF\xD8\xFF", 3) + char(frame) + std::string("\0\x08\x08\0\x10\0\x10", 7) +
           components + (end ? "\xFF\xD9" : "");
}

// File header and the start of an information header of `size` bytes: 100 x 100, 24 bits, no rows.
std::string Bmp(char size) {
    return "BM" + std::string(8, '\0') + std::string("\x36\0\0\0", 4) + size +
           std::string("\0\0\0\x64\0\0\0\x64\0\0\0\x01\0\x18\0", 15);
}

TEST(ImageDiagnosisTest, NamesTheReasonAndTheFix) {
    struct Case {
        std::string bytes;
        const char* reason;  // "" when the bytes show nothing wrong
    };
    const Case cases[] = {
        {Png(4, 4, 16, 0, true),
         "it is a 16-bit PNG, and the decoder reads 8-bit PNGs only: save it as an 8-bit PNG"},
        {Png(4, 4, 8, 1, true), "it is an interlaced PNG, which the decoder does not read"},
        {Png(20000, 4, 8, 0, true), "it is 20000 x 4 pixels, more than the 16384 a side the game accepts"},
        {Png(4, 4, 8, 0, false), "the file is cut short"},
        {Png(4, 4, 8, 0, true), "its compressed image data is corrupt"},
        {Jpeg(0xC2, 3, true),
         "it is a progressive JPEG, which the decoder does not read: save it as a baseline"},
        {Jpeg(0xC0, 4, true), "it is a CMYK JPEG"},
        {Jpeg(0xC9, 3, true), "it is an arithmetic-coded JPEG, which the decoder does not read"},
        {Jpeg(0xC0, 3, false), "the file is cut short"},
        {Jpeg(0xC0, 3, true), ""},
        {Bmp(40), "the file is cut short"},
        {Bmp(124), "it is a BMP with a version 5 header (ImageMagick's default), which the decoder does not"},
        {Bmp(64), "it is a BMP with a header of 64 bytes"},
        {"P6\n4 4\n255\n", "it is a PPM image, which the decoder does not read: save it as an 8-bit PNG"},
        {"P5 4 4 255 ", "it is a PGM image"},
        {"GIF89a", "it is a GIF image, which the decoder does not read: save it as an 8-bit PNG"},
        {"", "the file is empty"},
    };
    for (const Case& c : cases) {
        ImageCheck::ImageBytes bytes(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
        const std::string reason = StagewalkCheck::ExplainRefusedImage(bytes);
        if (*c.reason == '\0') {
            EXPECT_EQ(reason, "");
        } else {
            EXPECT_NE(reason.find(c.reason), std::string::npos)
                << "expected: " << c.reason << "\ngot: " << reason;
        }
    }
}

}  // namespace
