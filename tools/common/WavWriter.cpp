#include "tools/common/WavWriter.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutId(std::vector<uint8_t>& out, const std::string& id) {
    if (id.size() != 4) throw std::invalid_argument("WavWriter: chunk id must have four characters");
    out.insert(out.end(), id.begin(), id.end());
}

}  // namespace

WavWriter::WavWriter(int sampleRate, int channels, int bitsPerSample)
    : sampleRate_(sampleRate), channels_(channels), bitsPerSample_(bitsPerSample) {
    if (sampleRate <= 0 || channels < 1 || channels > 8 || (bitsPerSample != 8 && bitsPerSample != 16))
        throw std::invalid_argument("WavWriter: unsupported format");
}

void WavWriter::AddFrame(int16_t value) {
    for (int c = 0; c < channels_; ++c) {
        if (bitsPerSample_ == 8)
            data_.push_back(static_cast<uint8_t>((value >> 8) + 128));  // 8-bit PCM is unsigned
        else
            PutU16(data_, static_cast<uint16_t>(value));
    }
}

void WavWriter::AddTone(double frequency, int milliseconds, double amplitude) {
    const long frames = static_cast<long>(sampleRate_) * milliseconds / 1000;
    const double step = 2.0 * std::numbers::pi * frequency / sampleRate_;
    for (long i = 0; i < frames; ++i) {
        double s = amplitude * std::sin(step * static_cast<double>(i));
        AddFrame(static_cast<int16_t>(std::lround(s * 32767.0)));
    }
}

void WavWriter::AddSilence(int milliseconds) {
    const long frames = static_cast<long>(sampleRate_) * milliseconds / 1000;
    for (long i = 0; i < frames; ++i) AddFrame(0);
}

void WavWriter::AddRawData(std::span<const uint8_t> bytes) {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

void WavWriter::AddExtraChunk(const std::string& id, std::span<const uint8_t> payload) {
    PutId(extra_, id);
    PutU32(extra_, static_cast<uint32_t>(payload.size()));
    extra_.insert(extra_.end(), payload.begin(), payload.end());
    if (payload.size() % 2) extra_.push_back(0);  // chunks are padded to even length
}

size_t WavWriter::FrameCount() const {
    return data_.size() / (static_cast<size_t>(channels_) * static_cast<size_t>(bitsPerSample_ / 8));
}

std::vector<uint8_t> WavWriter::Image() const {
    const uint32_t blockAlign = static_cast<uint32_t>(channels_ * bitsPerSample_ / 8);
    const size_t pad = data_.size() % 2;
    std::vector<uint8_t> out;
    out.reserve(44 + extra_.size() + data_.size() + pad);
    PutId(out, "RIFF");
    PutU32(out, static_cast<uint32_t>(4 + 8 + 16 + extra_.size() + 8 + data_.size() + pad));
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, static_cast<uint32_t>(channels_));
    PutU32(out, static_cast<uint32_t>(sampleRate_));
    PutU32(out, static_cast<uint32_t>(sampleRate_) * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, static_cast<uint32_t>(bitsPerSample_));
    out.insert(out.end(), extra_.begin(), extra_.end());
    PutId(out, "data");
    PutU32(out, static_cast<uint32_t>(data_.size()));
    out.insert(out.end(), data_.begin(), data_.end());
    if (pad) out.push_back(0);
    return out;
}
