#include "imagecheck/png_stream.h"

#include <zlib.h>

#include <climits>
#include <vector>

namespace ImageCheck {

uint64_t PngRawBytes(uint64_t width, uint64_t height, unsigned colorType) {
    static const unsigned kChannels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type; 0: no such type
    const unsigned channels = colorType < 7 ? kChannels[colorType] : 0;
    if (width == 0 || height == 0 || channels == 0) return 0;
    return height * (width * channels + 1);  // each row starts with its filter byte
}

bool PngStreamInflates(ByteSource& compressed, uint64_t rawBytes) {
    if (rawBytes > INT_MAX) return false;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    // The decoder wants exactly the rows the header promises, so the check stops as soon as the
    // stream makes more: no stream makes it work past the image's own size.
    std::vector<unsigned char> input(1 << 16);
    std::vector<unsigned char> scratch(1 << 15);
    uint64_t made = 0;
    int status = Z_OK;
    while (status == Z_OK && made <= rawBytes) {
        if (stream.avail_in == 0) {
            stream.next_in = input.data();
            stream.avail_in = static_cast<uInt>(compressed.Fill(input.data(), input.size()));
        }
        // With no input left, inflate still makes what its bit buffer holds, and then fails with
        // Z_BUF_ERROR: the data ended before the stream did.
        stream.next_out = scratch.data();
        stream.avail_out = static_cast<uInt>(scratch.size());
        status = inflate(&stream, Z_NO_FLUSH);
        made += scratch.size() - stream.avail_out;
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && made == rawBytes;
}

}  // namespace ImageCheck
