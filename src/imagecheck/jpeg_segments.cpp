#include "imagecheck/jpeg_segments.h"

#include <array>

namespace ImageCheck {

JpegSegments::JpegSegments(ImageBytes& file, uint64_t start) : cursor(file, start) {}

bool JpegSegments::Stop(End how) {
    end = how;
    return false;
}

bool JpegSegments::Next() {
    if (end != End::kNone) return false;
    if (length > 0) cursor.Seek(offset + length);
    unsigned char byte = 0;
    while (cursor.Next(byte)) {
        if (byte != 0xFF) continue;
        unsigned char code = 0xFF;
        while (code == 0xFF) {
            if (!cursor.Next(code)) return Stop(End::kEndOfData);
        }
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) continue;  // no segment
        if (code == 0xD9) return Stop(End::kEndOfImage);
        // A length below 2, or one the data cuts off (the decoder then reads zeros), makes the
        // decoder step backwards and loop for ever.
        offset = cursor.Position();
        unsigned char high = 0;
        unsigned char low = 0;
        if (!cursor.Next(high) || !cursor.Next(low)) return Stop(End::kBadLength);
        length = (uint32_t{high} << 8) | low;
        if (length < 2) return Stop(End::kBadLength);
        marker = code;
        return true;
    }
    return Stop(End::kEndOfData);
}

bool ReadJpegFrame(ImageBytes& file, const JpegSegments& segments, JpegFrame& frame) {
    const uint64_t start = segments.Offset() + 2;
    std::array<unsigned char, 6> head{};
    if (start + 5 > file.Size() || !file.ReadPadded(start, head.data(), head.size())) return false;
    frame.precision = head[0];
    frame.height = Be16(head.data() + 1);
    frame.width = Be16(head.data() + 3);
    frame.components = head[5];
    return true;
}

}  // namespace ImageCheck
