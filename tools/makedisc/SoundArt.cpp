#include "tools/makedisc/SoundArt.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/common/WavWriter.h"
#include "tools/makedisc/Random.h"

namespace {

constexpr double kTau = 2 * std::numbers::pi;

// A mono track in floating point, mixed from notes and rendered to PCM at the end.
class Track {
public:
    Track(int rate, int milliseconds)
        : rate_(rate), samples_(static_cast<size_t>(rate) * milliseconds / 1000, 0.0) {}

    // A bell-like note: a sine with a quieter octave, quick attack, exponential decay.
    void Bell(double startMs, double frequency, double decayMs, double gain) {
        Add(startMs, decayMs * 5, [=](double t) {
            const double env = std::min(1.0, t / 0.004) * std::exp(-t * 1000 / decayMs);
            return gain * env * (std::sin(kTau * frequency * t) + 0.35 * std::sin(kTau * 2 * frequency * t));
        });
    }
    // A sine whose pitch glides from f0 to f1 over the length, with a soft window.
    void Chirp(double startMs, double lengthMs, double f0, double f1, double gain) {
        double phase = 0;
        Add(startMs, lengthMs, [=, this, &phase](double t) {
            const double u = t * 1000 / lengthMs;
            phase += kTau * (f0 + (f1 - f0) * u) / rate_;
            return gain * std::sin(std::numbers::pi * std::min(1.0, u)) * std::sin(phase);
        });
    }
    // Filtered noise under a window, for the swoosh.
    void Noise(double startMs, double lengthMs, double gain, uint64_t seed) {
        Random rnd(seed);
        double low = 0;
        Add(startMs, lengthMs, [=, &rnd, &low](double t) {
            low += 0.18 * ((rnd.Real() * 2 - 1) - low);
            return gain * std::pow(std::sin(std::numbers::pi * std::min(1.0, t * 1000 / lengthMs)), 2) * low;
        });
    }

    std::string Render(int bits) const {
        WavWriter wav(rate_, 1, bits);
        double peak = 1e-9;
        for (double s : samples_) peak = std::max(peak, std::abs(s));
        const double scale = std::min(1.0, 0.85 / peak) * 32767;
        for (double s : samples_) wav.AddFrame(static_cast<int16_t>(std::lround(s * scale)));
        const auto image = wav.Image();
        return std::string(image.begin(), image.end());
    }

private:
    template <class F>
    void Add(double startMs, double lengthMs, F&& wave) {
        const size_t first = static_cast<size_t>(startMs * rate_ / 1000);
        const size_t count = static_cast<size_t>(lengthMs * rate_ / 1000);
        for (size_t i = 0; i < count && first + i < samples_.size(); ++i)
            samples_[first + i] += wave(double(i) / rate_);
    }

    int rate_;
    std::vector<double> samples_;
};

}  // namespace

std::array<std::string, 7> SynthesiseSounds() {
    std::array<std::string, 7> out;
    {
        Track t(11025, 60);  // a short, dry tick
        t.Bell(0, 1760, 9, 0.8);
        t.Bell(0, 2640, 6, 0.4);
        out[0] = t.Render(8);
    }
    {
        Track t(22050, 900);  // rising major arpeggio
        const double notes[] = {523.25, 659.25, 783.99, 1046.5};
        for (int i = 0; i < 4; ++i) t.Bell(i * 110, notes[i], i == 3 ? 160 : 90, 0.5);
        out[1] = t.Render(16);
    }
    {
        Track t(22050, 420);  // two-tone confirmation
        t.Bell(0, 783.99, 70, 0.55);
        t.Bell(120, 1046.5, 110, 0.55);
        out[2] = t.Render(16);
    }
    {
        Track t(22050, 320);  // swoosh
        t.Noise(0, 300, 0.9, 3);
        t.Chirp(20, 260, 420, 1250, 0.25);
        out[3] = t.Render(16);
    }
    {
        Track t(22050, 360);  // bright pling
        t.Bell(0, 1318.5, 60, 0.5);
        t.Bell(60, 1975.5, 80, 0.45);
        out[4] = t.Render(16);
    }
    {
        Track t(22050, 700);  // sonar ping with an echo
        t.Bell(0, 1320, 120, 0.6);
        t.Bell(220, 1320, 110, 0.2);
        out[5] = t.Render(16);
    }
    {
        Track t(22050, 950);  // falling arpeggio
        const double notes[] = {1046.5, 783.99, 659.25, 523.25};
        for (int i = 0; i < 4; ++i) t.Bell(i * 120, notes[i], i == 3 ? 200 : 90, 0.5);
        out[6] = t.Render(16);
    }
    return out;
}
