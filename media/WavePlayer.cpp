#include "media/WavePlayer.h"

#include "platform/Services.h"
#include "platform/Sound.h"

namespace media {

TWavePlayer::TWavePlayer(gui::TComponent* owner) : gui::TComponent(owner) {}

TWavePlayer::~TWavePlayer() = default;

void TWavePlayer::SetAsync(bool v) {
    async_ = v;
    if (!v) loop_ = false;
}

void TWavePlayer::SetLoop(bool v) {
    if (v != loop_ && async_) loop_ = v;
}

uint32_t TWavePlayer::BaseFlags() const {
    switch (location_) {
        case wlFile:
            return kSndFilename;
        case wlResource:
            return kSndResource;
        case wlRAM:
            return kSndMemory;
    }
    return kSndFilename;
}

uint32_t TWavePlayer::PlayFlags() const {
    return BaseFlags() | (loop_ ? kSndLoop : 0) | (async_ ? kSndAsync : kSndSync);
}

bool TWavePlayer::Play() {
    if (BeforePlay) BeforePlay(this);
    platform::Sound* sound = platform::Services().sound;
    const platform::SoundFlags flags{async_, loop_};
    bool played = false;
    if (sound) {
        switch (location_) {
            case wlFile:
                played = sound->PlayFile(waveName_, flags);
                break;
            case wlResource:
                // The program carries no sound resources on this platform.
                played = false;
                break;
            case wlRAM:
                played = waveMemory_ && sound->Play(waveMemory_, waveMemorySize_, flags);
                break;
        }
    }
    if (AfterPlay) AfterPlay(this);
    return played;
}

bool TWavePlayer::Stop() {
    platform::Sound* sound = platform::Services().sound;
    return sound && sound->Stop();
}

}  // namespace media
