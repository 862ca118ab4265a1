// Any byte sequence must parse as a wave image whose parts lie inside the data, or be refused.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/WaveImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input size, so that any read past it is caught.
    std::vector<uint8_t> bytes(data, data + size);
    platform::WaveImage wave;
    if (platform::WaveImage::Parse(bytes.data(), bytes.size(), wave)) {
        if (wave.imageSize > size || wave.dataOffset > wave.imageSize ||
            wave.dataSize > wave.imageSize - wave.dataOffset)
            __builtin_trap();
        if (wave.channels == 0 || wave.sampleRate == 0) __builtin_trap();
    }
    return 0;
}
