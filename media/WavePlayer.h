#pragma once
// TWavePlayer: plays one wave sound — a file, a program resource, or a complete RIFF WAVE image in
// memory — through the platform's sound output. It keeps no state about playing: a new Play
// replaces a sound that still plays asynchronously, and Stop silences whatever plays.
//
// The flags follow the classic multimedia call, so callers and tests can check them:
//   location      sound argument   base flag
//   wlFile        WaveName         kSndFilename
//   wlResource    WaveName         kSndResource  (no resources on this platform: Play returns false)
//   wlRAM         WaveMemory       kSndMemory
// plus kSndLoop when Loop, kSndAsync when Async.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gui/Component.h"
#include "gui/Control.h"

namespace media {

enum TWaveLocation { wlFile = 0, wlResource = 1, wlRAM = 2 };

class TWavePlayer : public gui::TComponent {
public:
    static constexpr uint32_t kSndSync = 0x0000;
    static constexpr uint32_t kSndAsync = 0x0001;
    static constexpr uint32_t kSndMemory = 0x0004;
    static constexpr uint32_t kSndLoop = 0x0008;
    static constexpr uint32_t kSndFilename = 0x20000;
    static constexpr uint32_t kSndResource = 0x40004;

    explicit TWavePlayer(gui::TComponent* owner);
    ~TWavePlayer() override;

    bool Async() const { return async_; }
    // Turning Async off turns Loop off too: a looping sound can only play in the background.
    void SetAsync(bool v);
    bool Loop() const { return loop_; }
    // Stored only while Async is on.
    void SetLoop(bool v);
    const std::string& WaveName() const { return waveName_; }
    void SetWaveName(std::string v) { waveName_ = std::move(v); }
    // Not owned; the caller keeps the image alive and unchanged while it plays.
    const uint8_t* WaveMemory() const { return waveMemory_; }
    size_t WaveMemorySize() const { return waveMemorySize_; }
    void SetWaveMemory(const uint8_t* image, size_t size) {
        waveMemory_ = image;
        waveMemorySize_ = size;
    }
    TWaveLocation WaveLocation() const { return location_; }
    void SetWaveLocation(TWaveLocation v) { location_ = v; }

    gui::TNotifyEvent BeforePlay;
    gui::TNotifyEvent AfterPlay;

    // BeforePlay, the sound, AfterPlay (right after an asynchronous sound has started). True when
    // the output took the sound.
    bool Play();
    // Silences whatever plays; no events.
    bool Stop();

    // The flags Play would use now (for logs and tests).
    uint32_t PlayFlags() const;
    uint32_t BaseFlags() const;

private:
    bool async_ = false;
    bool loop_ = false;
    std::string waveName_;
    const uint8_t* waveMemory_ = nullptr;
    size_t waveMemorySize_ = 0;
    TWaveLocation location_ = wlFile;
};

}  // namespace media
