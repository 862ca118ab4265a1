#include "platform/win32/Win32Sound.h"

#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <fstream>
#include <iterator>

#include "platform/Services.h"
#include "platform/WaveImage.h"

namespace platform {

Win32Sound::~Win32Sound() {
    Stop();
}

bool Win32Sound::Play(const uint8_t* image, size_t size, SoundFlags flags) {
    std::lock_guard lock(mutex_);
    // The player may still read the old copy: stop it before the copy is replaced.
    PlaySoundW(nullptr, nullptr, 0);
    playing_.clear();
    WaveImage wave;
    if (!image || !WaveImage::Parse(image, size, wave)) return false;
    playing_.assign(image, image + size);
    DWORD how = SND_MEMORY | SND_NODEFAULT;
    if (flags.async) how |= SND_ASYNC;
    if (flags.async && flags.loop) how |= SND_LOOP;
    const bool ok = PlaySoundW(reinterpret_cast<LPCWSTR>(playing_.data()), nullptr, how) != FALSE;
    if (!ok || !flags.async) playing_.clear();
    return ok;
}

bool Win32Sound::PlayFile(const std::string& file, SoundFlags flags) {
    std::ifstream in(Services().paths.Resolve(file), std::ios::binary);
    if (!in) {
        Stop();
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Play(bytes.data(), bytes.size(), flags);  // Play keeps its own copy
}

bool Win32Sound::Stop() {
    std::lock_guard lock(mutex_);
    PlaySoundW(nullptr, nullptr, 0);
    playing_.clear();
    return true;
}

}  // namespace platform
