// Hands compressed bytes to a stream check in order, piece by piece, so that the check never needs
// the whole stream in memory. Implementations are owned by whoever runs the check; one thread at a time.
#pragma once

#include <cstddef>

namespace Engine {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `capacity` of the next bytes into `out` and returns how many; 0 once the data
    // has ended or can no longer be read.
    virtual std::size_t Fill(unsigned char* out, std::size_t capacity) = 0;
};

}  // namespace Engine
