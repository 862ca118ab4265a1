#pragma once
// A small deterministic generator (splitmix64), so that every run of makedisc draws the same disc.
#include <cstdint>
#include <string_view>

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    // Seeded from a text, e.g. a program name.
    explicit Random(std::string_view text) : state_(0x5EED) {
        for (unsigned char c : text) state_ = state_ * 1099511628211ULL ^ c;
    }
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    double Real() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    uint64_t state_;
};
