#include "stagewalk_check/image_diagnosis.h"

#include "imagecheck/image_check.h"
#include "imagecheck/jpeg_segments.h"
#include "imagecheck/png_chunks.h"
#include "imagecheck/png_stream.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace StagewalkCheck {

namespace {

using ImageCheck::ImageBytes;
using Reasons = std::vector<std::string>;

const char* const CutShort = "the file is cut short: save or copy it again";

std::string TooLarge(uint64_t width, uint64_t height) {
    const uint64_t limit = ImageCheck::kMaxImageDimension;
    if (width <= limit && height <= limit) return std::string();
    return "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
           std::to_string(limit) + " a side the game accepts: scale it down";
}

void Add(Reasons& reasons, const std::string& reason) {
    if (!reason.empty()) reasons.push_back(reason);
}

// The header (size, bit depth, interlacing), every chunk up to IEND inside the file, then the data.
void ExplainPng(ImageBytes& file, Reasons& reasons) {
    ImageCheck::PngHeader header;
    if (!ImageCheck::ReadPngHeader(file, header)) return Add(reasons, CutShort);
    Add(reasons, TooLarge(header.width, header.height));
    if (header.bitDepth != 8) {
        Add(reasons, "it is a " + std::to_string(header.bitDepth) +
                         "-bit PNG, and the decoder reads 8-bit PNGs only: save it as an 8-bit PNG");
    }
    if (header.interlaced)
        Add(reasons, "it is an interlaced PNG, which the decoder does not read: save it without interlacing");
    if (!ImageCheck::PngChunks(file).WalkToEnd()) return Add(reasons, CutShort);
    const uint64_t rawBytes = ImageCheck::PngRawBytes(header.width, header.height, header.colorType);
    ImageCheck::PngChunks data(file);
    if (reasons.empty() && rawBytes > 0 && !ImageCheck::PngStreamInflates(data, rawBytes)) {
        Add(reasons,
            "its compressed image data is corrupt, or does not make the rows its header promises: save it "
            "again");
    }
}

// What a JPEG frame header says: progressive or arithmetic coding, 12-bit samples and CMYK are not
// decoded.
void ExplainJpegFrame(unsigned marker, const ImageCheck::JpegFrame& frame, Reasons& reasons) {
    if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) {
        Add(reasons,
            "it is a progressive JPEG, which the decoder does not read: save it as a baseline "
            "(standard) JPEG or as an 8-bit PNG");
    }
    if (marker >= 0xC9) {  // every frame from 0xC9 on is arithmetic-coded
        Add(reasons,
            "it is an arithmetic-coded JPEG, which the decoder does not read: save it as a baseline "
            "JPEG with Huffman coding ('jpegtran in.jpg >out.jpg' does it without loss) or as an 8-bit PNG");
    }
    if (frame.precision != 8) {
        Add(reasons, "it is a " + std::to_string(frame.precision) +
                         "-bit JPEG, and the decoder reads 8-bit JPEGs only: save it with 8 bits a channel");
    }
    Add(reasons, TooLarge(frame.width, frame.height));
    if (frame.components == 4)
        Add(reasons, "it is a CMYK JPEG, which the decoder does not read: save it as RGB");
}

// The marker segments up to the end of image, each inside the file.
void ExplainJpeg(ImageBytes& file, uint64_t start, Reasons& reasons) {
    ImageCheck::JpegSegments segments(file, start);
    ImageCheck::JpegFrame frame;
    while (segments.Next()) {
        if (segments.Offset() + segments.Length() > file.Size()) return Add(reasons, CutShort);
        if (ImageCheck::IsJpegFrameMarker(segments.Marker()) &&
            ImageCheck::ReadJpegFrame(file, segments, frame))
            ExplainJpegFrame(segments.Marker(), frame, reasons);
    }
    if (segments.Ending() != ImageCheck::JpegSegments::End::kEndOfImage) Add(reasons, CutShort);
}

// A header layout the decoder reads, then the rows all in the file.
void ExplainBmp(ImageBytes& file, Reasons& reasons) {
    ImageCheck::BmpHeader header;
    if (file.Size() < 30 || !ImageCheck::ReadBmpHeader(file, header)) return Add(reasons, CutShort);
    const uint32_t size = header.headerSize;
    if (size != 12 && size != 40 && size != 56 && size != 108) {
        const std::string kind = size == 124 ? "a version 5 header (ImageMagick's default)"
                                             : "a header of " + std::to_string(size) + " bytes";
        return Add(reasons, "it is a BMP with " + kind +
                                ", which the decoder does not read: save it as a version 3 BMP ('convert "
                                "in.bmp BMP3:out.bmp') or as an 8-bit PNG");
    }
    if (header.width < 0) return;
    Add(reasons, TooLarge(static_cast<uint64_t>(header.width), static_cast<uint64_t>(header.height)));
    if (reasons.empty() && file.Size() < header.dataOffset + header.DataBytes()) Add(reasons, CutShort);
}

// Formats the decoder does not read at all, by their first bytes.
const char* ForeignFormat(const unsigned char* head, size_t available) {
    // Netpbm: "P1" to "P7" and white space.
    if (available >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '7' &&
        std::strchr(" \t\r\n", head[2])) {
        static const char* const kNetpbm[] = {"a PBM", "a PGM", "a PPM", "a PBM", "a PGM", "a PPM", "a PAM"};
        return kNetpbm[head[1] - '1'];
    }
    struct Foreign {
        const char* magic;
        size_t offset;
        const char* name;
    };
    static const Foreign kForeign[] = {{"GIF8", 0, "a GIF"},
                                       {"WEBP", 8, "a WebP"},
                                       {"II*", 0, "a TIFF"},
                                       {"MM", 0, "a TIFF"},
                                       {"ftyp", 4, "an HEIF or AVIF"}};
    for (const Foreign& f : kForeign) {
        const size_t length = std::strlen(f.magic);
        if (available >= f.offset + length && std::memcmp(head + f.offset, f.magic, length) == 0)
            return f.name;
    }
    return nullptr;
}

}  // namespace

std::string ExplainRefusedImage(ImageBytes& file) {
    if (!file.IsOpen()) return std::string();
    if (file.Size() == 0) return "the file is empty";
    Reasons reasons;
    uint64_t jpegStart = 0;
    switch (ImageCheck::FormatOf(file, jpegStart)) {
        case ImageCheck::ImageFormat::kPng:
            ExplainPng(file, reasons);
            break;
        case ImageCheck::ImageFormat::kJpeg:
            ExplainJpeg(file, jpegStart, reasons);
            break;
        case ImageCheck::ImageFormat::kBmp:
            ExplainBmp(file, reasons);
            break;
        default: {
            std::array<unsigned char, 12> head{};
            file.ReadPadded(0, head.data(), head.size());
            const char* name = ForeignFormat(head.data(), std::min<uint64_t>(file.Size(), head.size()));
            if (name)
                return std::string("it is ") + name +
                       " image, which the decoder does not read: save it as an 8-bit PNG";
        }
    }
    std::string text;
    for (const std::string& reason : reasons) text += (text.empty() ? "" : "; ") + reason;
    return text;
}

}  // namespace StagewalkCheck
