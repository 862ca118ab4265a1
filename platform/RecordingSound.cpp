#include "platform/RecordingSound.h"

#include <fstream>
#include <iterator>

#include "platform/Services.h"
#include "platform/WaveImage.h"

namespace platform {

bool RecordingSound::Play(const uint8_t* image, size_t size, SoundFlags flags) {
    WaveImage wave;
    SoundCall call;
    call.kind = SoundCall::kPlay;
    call.image = image;
    call.size = size;
    call.flags = flags;
    call.result = WaveImage::Parse(image, size, wave);
    // A failed play still stops the previous sound, as the real output does.
    playing_ = call.result && flags.async;
    calls_.push_back(call);
    return call.result;
}

bool RecordingSound::PlayFile(const std::string& file, SoundFlags flags) {
    SoundCall call;
    call.kind = SoundCall::kPlayFile;
    call.file = file;
    call.flags = flags;
    std::ifstream in(Services().paths.Resolve(file), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WaveImage wave;
    call.result = in.good() || in.eof() ? WaveImage::Parse(bytes.data(), bytes.size(), wave) : false;
    playing_ = call.result && flags.async;
    calls_.push_back(call);
    return call.result;
}

bool RecordingSound::Stop() {
    SoundCall call;
    call.kind = SoundCall::kStop;
    call.result = true;
    playing_ = false;
    calls_.push_back(call);
    return true;
}

const SoundCall* RecordingSound::LastPlayed() const {
    // The range form needs libstdc++'s ranges, which clang 14 cannot parse.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
        if (it->kind != SoundCall::kStop && it->result) return &*it;
    return nullptr;
}

}  // namespace platform
