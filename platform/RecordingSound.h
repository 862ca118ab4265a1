#pragma once
// The sound output of headless runs and tests: checks each image as the real output would and
// records the call; nothing is heard.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sound.h"

namespace platform {

struct SoundCall {
    enum Kind { kPlay, kPlayFile, kStop } kind = kPlay;
    const uint8_t* image = nullptr;  // the caller's memory (for kPlay); compared, never read later
    size_t size = 0;
    std::string file;  // for kPlayFile
    SoundFlags flags;
    bool result = false;
};

class RecordingSound : public Sound {
public:
    bool Play(const uint8_t* image, size_t size, SoundFlags flags) override;
    bool PlayFile(const std::string& file, SoundFlags flags) override;
    bool Stop() override;

    const std::vector<SoundCall>& Calls() const { return calls_; }
    // The last successful play, or nullptr.
    const SoundCall* LastPlayed() const;
    // True between a successful play and the next stop (an async sound is taken to play on).
    bool Playing() const { return playing_; }
    void Clear() { calls_.clear(); }

private:
    std::vector<SoundCall> calls_;
    bool playing_ = false;
};

}  // namespace platform
