#include "platform/posix/SdlSound.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <type_traits>
#include <vector>

#include "platform/SdlLibrary.h"
#include "platform/Services.h"
#include "platform/WaveImage.h"

namespace platform {

namespace {

// The SDL audio functions, looked up in the library SdlLibrary opens with the first sound; the
// names below keep the calls reading as plain SDL calls.
#define CDMENU_SDL_AUDIO_FUNCTIONS(X) \
    X(CloseAudioDevice)               \
    X(FreeWAV)                        \
    X(GetError)                       \
    X(InitSubSystem) X(LoadWAV_RW) X(OpenAudioDevice) X(PauseAudioDevice) X(QuitSubSystem) X(RWFromConstMem)

struct SdlAudioApi {
// The argument is the member's name, which parentheses would turn into an expression.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define CDMENU_SDL_MEMBER(name) decltype(&::SDL_##name) name = nullptr;
    CDMENU_SDL_AUDIO_FUNCTIONS(CDMENU_SDL_MEMBER)
#undef CDMENU_SDL_MEMBER
};
SdlAudioApi gAudio;

// False with why set when SDL cannot be loaded or lacks a function.
bool LoadSdlAudioApi(std::string& why) {
    void* handle = SdlLibrary::Open();
    if (!handle) {
        why = SdlLibrary::Error();
        return false;
    }
    SdlAudioApi api;
    bool complete = true;
    auto find = [&](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(handle, name));
        if (!slot) {
            complete = false;
            why = std::string(name) + " missing in SDL2";
        }
    };
#define CDMENU_SDL_FIND(name) find(api.name, "SDL_" #name);
    CDMENU_SDL_AUDIO_FUNCTIONS(CDMENU_SDL_FIND)
#undef CDMENU_SDL_FIND
    if (complete) gAudio = api;
    return complete;
}

}  // namespace

#define SDL_CloseAudioDevice gAudio.CloseAudioDevice
#define SDL_FreeWAV gAudio.FreeWAV
#define SDL_GetError gAudio.GetError
#define SDL_InitSubSystem gAudio.InitSubSystem
#define SDL_LoadWAV_RW gAudio.LoadWAV_RW
#define SDL_OpenAudioDevice gAudio.OpenAudioDevice
#define SDL_PauseAudioDevice gAudio.PauseAudioDevice
#define SDL_QuitSubSystem gAudio.QuitSubSystem
#define SDL_RWFromConstMem gAudio.RWFromConstMem

struct SdlSound::Voice {
    SdlSound* owner = nullptr;
    SDL_AudioDeviceID device = 0;
    Uint8* samples = nullptr;  // SDL's decoded copy: the caller's image is not read after Play
    Uint32 length = 0;
    Uint32 position = 0;
    Uint8 silence = 0;
    bool loop = false;
    std::atomic<bool> done{false};
};

SdlSound::SdlSound() = default;

SdlSound::~SdlSound() {
    {
        std::lock_guard lock(doneMutex_);
        shutdown_ = true;
    }
    doneCv_.notify_all();
    if (closer_.joinable()) closer_.join();
    std::lock_guard lock(mutex_);
    CloseVoice();
    if (audioState_ == 1) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::StartAudio() {
    if (audioState_ == 0) {
        // No SDL on the system: silent, like a machine without an audio device.
        if (!LoadSdlAudioApi(lastError_)) {
            audioState_ = -1;
        } else if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            audioState_ = 1;
            closer_ = std::thread([this] { Closer(); });
        } else {
            // No audio device: the menu stays silent, without a message.
            audioState_ = -1;
            lastError_ = SDL_GetError();
        }
    }
    return audioState_ == 1;
}

void SdlSound::Callback(void* userdata, uint8_t* stream, int length) {
    Voice* v = static_cast<Voice*>(userdata);
    Uint32 want = static_cast<Uint32>(length);
    while (want > 0 && !v->done.load(std::memory_order_relaxed)) {
        if (v->position >= v->length) {
            if (v->loop && v->length > 0) {
                v->position = 0;
                continue;
            }
            v->done.store(true);
            {
                std::lock_guard lock(v->owner->doneMutex_);
                v->owner->doneSignal_ = true;
            }
            v->owner->doneCv_.notify_all();
            break;
        }
        const Uint32 n = std::min(want, v->length - v->position);
        std::memcpy(stream, v->samples + v->position, n);
        stream += n;
        want -= n;
        v->position += n;
    }
    if (want > 0) std::memset(stream, v->silence, want);
}

void SdlSound::CloseVoice() {
    if (!voice_) return;
    if (voice_->device) SDL_CloseAudioDevice(voice_->device);  // waits for a running callback
    SDL_FreeWAV(voice_->samples);
    voice_.reset();
}

void SdlSound::Closer() {
    std::unique_lock lock(doneMutex_);
    for (;;) {
        doneCv_.wait(lock, [this] { return shutdown_ || doneSignal_; });
        if (shutdown_) return;
        doneSignal_ = false;
        lock.unlock();
        {
            std::lock_guard voiceLock(mutex_);
            if (voice_ && voice_->done.load()) CloseVoice();
        }
        lock.lock();
    }
}

bool SdlSound::Play(const uint8_t* image, size_t size, SoundFlags flags) {
    std::unique_lock lock(mutex_);
    CloseVoice();  // a new sound replaces the old one even when it cannot play itself
    lastError_.clear();
    WaveImage wave;
    if (!WaveImage::Parse(image, size, wave, &lastError_)) return false;
    if (!StartAudio()) return false;

    auto voice = std::make_unique<Voice>();
    voice->owner = this;
    voice->loop = flags.async && flags.loop;
    SDL_AudioSpec format;
    SDL_RWops* rw = SDL_RWFromConstMem(image, static_cast<int>(std::min<size_t>(wave.imageSize, INT_MAX)));
    if (!rw || !SDL_LoadWAV_RW(rw, 1, &format, &voice->samples, &voice->length)) {
        lastError_ = SDL_GetError();
        return false;
    }
    format.callback = &SdlSound::Callback;
    format.userdata = voice.get();
    format.samples = 1024;  // short clicks should start without a long buffer in front of them
    SDL_AudioSpec obtained;
    voice->device = SDL_OpenAudioDevice(nullptr, 0, &format, &obtained, 0);
    if (voice->device == 0) {
        lastError_ = SDL_GetError();
        SDL_FreeWAV(voice->samples);
        return false;
    }
    voice->silence = obtained.silence;
    voice_ = std::move(voice);
    SDL_PauseAudioDevice(voice_->device, 0);

    if (!flags.async) {
        Voice* v = voice_.get();
        // A device that disappears while playing stops calling back; the wait is bounded by the
        // sound's own length so that a lost device cannot hang the caller.
        const int bytesPerSecond =
            obtained.freq * obtained.channels * (SDL_AUDIO_BITSIZE(obtained.format) / 8);
        const auto length = std::chrono::milliseconds(
            bytesPerSecond > 0 ? 1000LL * v->length / static_cast<Uint32>(bytesPerSecond) : 0);
        {
            std::unique_lock doneLock(doneMutex_);
            doneCv_.wait_for(doneLock, length + std::chrono::seconds(2),
                             [&] { return v->done.load() || shutdown_; });
        }
        CloseVoice();
    }
    return true;
}

bool SdlSound::PlayFile(const std::string& file, SoundFlags flags) {
    std::ifstream in(Services().paths.Resolve(file), std::ios::binary);
    if (!in) {
        std::lock_guard lock(mutex_);
        CloseVoice();
        lastError_ = "cannot open " + file;
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Play(bytes.data(), bytes.size(), flags);  // SDL decodes into its own copy
}

bool SdlSound::Stop() {
    std::lock_guard lock(mutex_);
    CloseVoice();
    return true;
}

bool SdlSound::Playing() {
    std::lock_guard lock(mutex_);
    return voice_ && !voice_->done.load();
}

}  // namespace platform
