// The chunks of a PNG file: its header, and the contents of its IDAT chunks in file order without
// the chunk framing, read piece by piece for the stream check while the chunk structure is checked
// on the way. Borrows the ImageBytes; one thread.
#pragma once

#include "imagecheck/image_bytes.h"
#include "imagecheck/png_stream.h"

#include <cstddef>
#include <cstdint>

namespace ImageCheck {

// What the IHDR chunk says.
struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned bitDepth = 0;
    unsigned colorType = 0;
    bool interlaced = false;
};

// Reads the IHDR chunk that must follow the signature; false when the file has none there.
bool ReadPngHeader(ImageBytes& file, PngHeader& header);

class PngChunks : public ByteSource {
public:
    explicit PngChunks(ImageBytes& file);  // reads the chunks after the signature up to IEND
    // The IDAT data; it ends early when the chunk structure breaks, which WalkToEnd tells.
    std::size_t Fill(unsigned char* out, std::size_t capacity) override;
    // Walks the chunks not yet read up to IEND. True when every chunk up to IEND lies inside the
    // file: the decoder copies a chunk's claimed length straight out of its buffer, unchecked.
    bool WalkToEnd();

private:
    bool NextChunk();  // moves to the next chunk's data; false at IEND or a broken chunk

    ImageBytes& file;
    uint64_t chunk = 8;   // offset of the next chunk header
    uint64_t next = 0;    // offset of the next data byte of the current IDAT chunk
    uint64_t left = 0;    // its data bytes not yet handed out
    bool ended = false;   // IEND reached
    bool broken = false;  // a chunk outside the file, or the file ends before IEND
};

}  // namespace ImageCheck
