#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Builds complete RIFF WAVE images in memory (PCM, 8 or 16 bits) for tests and the sample disc.
// Samples are given as signed values in the range of 16 bits and converted to the chosen width.
class WavWriter {
public:
    WavWriter(int sampleRate = 22050, int channels = 1, int bitsPerSample = 16);

    int SampleRate() const { return sampleRate_; }
    int Channels() const { return channels_; }
    int BitsPerSample() const { return bitsPerSample_; }

    // One frame holds one value per channel; a single value is repeated on every channel.
    void AddFrame(int16_t value);
    // A sine tone (amplitude 0..1 of full scale) of the given length.
    void AddTone(double frequency, int milliseconds, double amplitude = 0.5);
    void AddSilence(int milliseconds);
    // Raw bytes appended to the data chunk as they are (no conversion).
    void AddRawData(std::span<const uint8_t> bytes);
    // A chunk written between "fmt " and "data" (e.g. "LIST"); readers must skip it.
    void AddExtraChunk(const std::string& id, std::span<const uint8_t> payload);

    size_t FrameCount() const;
    const std::vector<uint8_t>& Data() const { return data_; }

    // The whole file image: "RIFF" size "WAVE", "fmt " (16 bytes), extra chunks, "data".
    std::vector<uint8_t> Image() const;

private:
    int sampleRate_;
    int channels_;
    int bitsPerSample_;
    std::vector<uint8_t> data_;
    std::vector<uint8_t> extra_;
};
