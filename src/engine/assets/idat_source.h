// The image data of a PNG file: the contents of its IDAT chunks in file order, without the chunk
// framing, read piece by piece for the stream check. Borrows the ImageBytes; one thread.
#pragma once

#include "engine/assets/byte_source.h"
#include "engine/assets/image_check.h"

#include <cstddef>
#include <cstdint>

namespace Engine {

class IdatSource : public ByteSource {
public:
    // Reads the chunks from offset `firstChunk` up to the IEND chunk.
    IdatSource(ImageBytes& file, uint64_t firstChunk);
    std::size_t Fill(unsigned char* out, std::size_t capacity) override;

private:
    ImageBytes& file;
    uint64_t chunk;     // offset of the next chunk header
    uint64_t next = 0;  // offset of the next data byte of the current IDAT chunk
    uint64_t left = 0;  // its data bytes not yet handed out
    bool ended = false;
};

}  // namespace Engine
