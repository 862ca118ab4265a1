#include "app/CatalogueScan.h"

namespace catalogue {

size_t LineIndexAt(std::string_view s, size_t start) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
    size_t count = 0, i = 0;
    for (; i + 8 <= start; i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        const uint64_t x = word ^ (kOnes * '\n');
        // High bit of each byte set exactly where x has a zero byte.
        const uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
        count += static_cast<size_t>(((zero >> 7) * kOnes) >> 56);
    }
    for (; i < start; ++i) count += s[i] == '\n';
    return count;
}

size_t FirstNonAscii(std::string_view s) {
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & kHigh) break;
    }
    for (; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return i;
    return npos;
}

}  // namespace catalogue
