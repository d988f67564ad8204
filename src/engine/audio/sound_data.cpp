#include "engine/audio/sound_data.h"

#include "common/whole_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace Engine {

namespace {

// libsndfile reads through these from a block of memory: no second open of the file, and the
// decoder never reads past what was read in.
struct MemoryFile {
    const unsigned char* data;
    sf_count_t size;
    sf_count_t at;
};

sf_count_t Length(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR) base = file.at;
    if (whence == SEEK_END) base = file.size;
    // Out of range is clamped: a header pointing far past the end reads as the end of the data.
    if (offset < -base) return -1;
    file.at = std::min(base + offset, file.size);
    return file.at;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    const sf_count_t n = std::max<sf_count_t>(0, std::min(count, file.size - file.at));
    if (n > 0) std::memcpy(out, file.data + file.at, static_cast<size_t>(n));
    file.at += n;
    return n;
}

sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

sf_count_t Tell(void* user) { return static_cast<MemoryFile*>(user)->at; }

struct Closer {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
    throw std::runtime_error("Failed to load a sound in " + path + ": " + reason);
}

}  // namespace

SoundData* LoadSoundFromMemory(const unsigned char* data, size_t size, const std::string& path) {
    MemoryFile memory{data, static_cast<sf_count_t>(size), 0};
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, Closer> file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file) Refuse(path, sf_strerror(nullptr));
    if (info.channels != 1 && info.channels != 2)
        Refuse(path, std::to_string(info.channels) + " channels; a sound is mono or stereo");
    if (info.samplerate < kLowestSampleRate || info.samplerate > kHighestSampleRate)
        Refuse(path, "a sample rate of " + std::to_string(info.samplerate) + " Hz; " +
                         std::to_string(kLowestSampleRate) + " to " + std::to_string(kHighestSampleRate) +
                         " Hz are played");
    // Floating-point files hold samples in [-1, 1]: scaled to the 16-bit range, not clipped to -1..1.
    sf_command(file.get(), SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);

    auto sound = std::make_unique<SoundData>();
    sound->sampleRate = info.samplerate;
    sound->channels = info.channels;
    // The header's length is a hint only: the frames are read until the data ends, at most the limit.
    const sf_count_t hinted = std::clamp<sf_count_t>(info.frames, 0, kMaxSoundFrames);
    sound->samples.reserve(static_cast<size_t>(hinted * info.channels));
    constexpr sf_count_t kChunkFrames = 4096;
    int16_t chunk[kChunkFrames * 2];
    for (;;) {
        const sf_count_t got = sf_readf_short(file.get(), chunk, kChunkFrames);
        if (got <= 0) break;
        if (static_cast<int64_t>(sound->Frames()) + got > kMaxSoundFrames)
            Refuse(path, "longer than " + std::to_string(kMaxSoundFrames) + " frames");
        sound->samples.insert(sound->samples.end(), chunk, chunk + got * info.channels);
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) Refuse(path, sf_strerror(file.get()));
    if (sound->samples.empty()) Refuse(path, "no samples");
    sound->samples.shrink_to_fit();
    return sound.release();
}

SoundData* LoadSound(const std::string& path) {
    // Regular files only: a named pipe or a device would block the loader or never end.
    const Common::WholeFile file = Common::ReadWholeFile(path, static_cast<size_t>(kMaxSoundFileBytes));
    if (file.status == Common::WholeFile::Status::Missing) Refuse(path, "no such file");
    if (file.status != Common::WholeFile::Status::Read) Refuse(path, file.reason);
    return LoadSoundFromMemory(reinterpret_cast<const unsigned char*>(file.text.data()), file.text.size(),
                               path);
}

}  // namespace Engine
