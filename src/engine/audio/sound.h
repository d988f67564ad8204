// A sound as the rest of the program knows it: one buffer of samples on the audio device and its
// length. Records are made by AudioDevice::CreateSound on the main thread and owned by the asset
// store; the game's shell borrows them by pointer to play them.
#pragma once

namespace Engine {

struct Sound {
    unsigned int buffer = 0;  // the device's buffer name; the device deletes it when it closes
    float seconds = 0.0f;     // the length, at the sound's own sample rate
};

}  // namespace Engine
