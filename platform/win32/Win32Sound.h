#pragma once
// Sound output through the system's own wave player (PlaySound from memory). The service keeps a
// copy of the playing image, since the player reads it for as long as the sound lasts.
#include <mutex>
#include <vector>

#include "platform/Sound.h"

namespace platform {

class Win32Sound : public Sound {
public:
    ~Win32Sound() override;
    bool Play(const uint8_t* image, size_t size, SoundFlags flags) override;
    bool PlayFile(const std::string& file, SoundFlags flags) override;
    bool Stop() override;

private:
    std::mutex mutex_;
    std::vector<uint8_t> playing_;
};

}  // namespace platform
