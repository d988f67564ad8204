// The image data of a PNG file: the contents of its IDAT chunks in file order, without the chunk
// framing, read piece by piece for the stream check while the chunk structure is checked on the
// way. Borrows the ImageBytes; one thread.
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
    // The data ends early when the chunk structure breaks; WalkToEnd tells.
    std::size_t Fill(unsigned char* out, std::size_t capacity) override;
    // Walks the chunks not yet read up to IEND. True when every chunk up to IEND lies inside the
    // file: the decoder copies a chunk's claimed length straight out of its buffer, unchecked.
    bool WalkToEnd();
    uint64_t DataBytes() const { return dataBytes; }  // IDAT data bytes of the chunks walked

private:
    bool NextChunk();  // moves to the next chunk's data; false at IEND or a broken chunk

    ImageBytes& file;
    uint64_t chunk;     // offset of the next chunk header
    uint64_t next = 0;  // offset of the next data byte of the current IDAT chunk
    uint64_t left = 0;  // its data bytes not yet handed out
    uint64_t dataBytes = 0;
    bool ended = false;   // IEND reached
    bool broken = false;  // a chunk outside the file, or the file ends before IEND
};

}  // namespace Engine
