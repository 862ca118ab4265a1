#pragma once
// The structure of a RIFF WAVE image, checked against its size before anyone reads the samples.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct WaveImage {
    uint16_t formatTag = 0;  // 1 = PCM
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    size_t dataOffset = 0;
    size_t dataSize = 0;
    // The bytes the image occupies by its own header (never more than the buffer).
    size_t imageSize = 0;

    // Parses the chunk structure; false (with a reason in *error) when the image is not a wave
    // file or a chunk reaches past the end of the buffer. A RIFF size larger than the buffer is
    // accepted when "fmt " and "data" lie inside it, as players do with truncated files.
    static bool Parse(const uint8_t* image, size_t size, WaveImage& out, std::string* error = nullptr);
};

}  // namespace platform
