// Walks the marker segments of a JPEG the way the decoder finds them: bytes other than 0xFF between
// segments are skipped, the entropy-coded data after a scan header runs to the next marker, and a
// segment's data is skipped by its length. Borrows the ImageBytes; one thread.
#pragma once

#include "imagecheck/byte_cursor.h"
#include "imagecheck/image_bytes.h"

#include <cstdint>

namespace ImageCheck {

class JpegSegments {
public:
    enum class End {
        kNone,        // still walking
        kEndOfImage,  // the end-of-image marker
        kEndOfData,   // the data ended between segments
        kBadLength,   // a length below 2, or cut off by the end of the data
    };

    JpegSegments(ImageBytes& file, uint64_t start);  // `start`: just after the start-of-image marker

    bool Next();  // moves to the next segment; false once the walk has ended (see Ending)
    End Ending() const { return end; }
    unsigned Marker() const { return marker; }
    uint64_t Offset() const { return offset; }  // of the segment's two length bytes
    uint32_t Length() const { return length; }  // the length field: its own two bytes and the data

private:
    bool Stop(End how);

    ByteCursor cursor;
    End end = End::kNone;
    unsigned marker = 0;
    uint64_t offset = 0;
    uint32_t length = 0;
};

// A start-of-frame segment's header.
struct JpegFrame {
    unsigned precision = 0;   // bits a sample
    uint32_t height = 0;      // pixels
    uint32_t width = 0;       // pixels
    unsigned components = 0;  // 1 grey, 3 colour, 4 CMYK; 0 when the file ends before it
};

// Start-of-frame markers: every 0xC0 to 0xCF but the Huffman table, arithmetic conditioning and
// reserved ones.
inline bool IsJpegFrameMarker(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Reads the frame header of the segment at `segments`, whatever its length says (so does the
// decoder); false when the file ends before the width.
bool ReadJpegFrame(ImageBytes& file, const JpegSegments& segments, JpegFrame& frame);

}  // namespace ImageCheck
