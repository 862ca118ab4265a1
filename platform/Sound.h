#pragma once
// Sound output: one complete RIFF WAVE image (the whole file, header included) at a time.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct SoundFlags {
    bool async = true;  // false: Play returns when the sound has ended
    bool loop = false;  // repeat until stopped or replaced; only honoured with async
};

class Sound {
public:
    virtual ~Sound() = default;
    // Plays the image, replacing whatever plays. With async the caller keeps the image alive and
    // unchanged until the sound is stopped or replaced. A malformed image, or one the output cannot
    // decode, returns false and leaves silence; so does a machine without an audio device.
    virtual bool Play(const uint8_t* image, size_t size, SoundFlags flags) = 0;
    // Reads a wave file (app path) and plays it; the file's bytes are kept by the service.
    virtual bool PlayFile(const std::string& file, SoundFlags flags) = 0;
    // Stops the sound that plays; true also when nothing played.
    virtual bool Stop() = 0;
};

}  // namespace platform
