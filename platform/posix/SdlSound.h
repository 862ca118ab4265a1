#pragma once
// Sound output through SDL audio. The audio subsystem starts with the first sound; each sound gets
// its own device opened in the sound's format (SDL converts for the hardware), and the device is
// closed again once the sound has ended, so an idle menu keeps no audio thread running.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Sound.h"

namespace platform {

class SdlSound : public Sound {
public:
    SdlSound();
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    bool Play(const uint8_t* image, size_t size, SoundFlags flags) override;
    bool PlayFile(const std::string& file, SoundFlags flags) override;
    bool Stop() override;

    // True when a sound is still sounding (for tests and the player's own bookkeeping).
    bool Playing();
    // Why the last Play failed ("" after success).
    const std::string& LastError() const { return lastError_; }

private:
    struct Voice;
    static void Callback(void* userdata, uint8_t* stream, int length);
    bool StartAudio();
    void CloseVoice();  // with mutex_ held
    void Closer();

    std::mutex mutex_;  // voice_ and the audio state
    std::unique_ptr<Voice> voice_;
    int audioState_ = 0;  // 0 not tried, 1 running, -1 unavailable
    std::string lastError_;

    // An ended sound is reported to the closer thread, which closes its device; the audio callback
    // must not close the device itself.
    std::mutex doneMutex_;
    std::condition_variable doneCv_;
    bool doneSignal_ = false;
    bool shutdown_ = false;
    std::thread closer_;
};

}  // namespace platform
