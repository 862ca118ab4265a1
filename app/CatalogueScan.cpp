#include "app/CatalogueScan.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(CDMENU_WIDE_SCAN)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace catalogue {

namespace {

#if defined(CDMENU_WIDE_SCAN)
// AVX2 present and its registers saved by the system. Asked of the processor directly: the
// compiler's own check brings a start-up constructor and its tables, read from the disc at every start.
bool HasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned lo = 0, hi = 0;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6) != 6) return false;  // XMM and YMM state
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_AVX2);
}
#endif

struct FoldTables {
    unsigned char identity[256];
    unsigned char upper[256];
    FoldTables() {
        for (int c = 0; c < 256; ++c) {
            identity[c] = static_cast<unsigned char>(c);
            upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
    }
};
const FoldTables kFold;

}  // namespace

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

Searcher::Searcher(std::string_view needle, bool fold) : fold_(fold ? kFold.upper : kFold.identity) {
    needle_.resize(needle.size());
    for (size_t i = 0; i < needle.size(); ++i)
        needle_[i] = static_cast<char>(Fold(static_cast<unsigned char>(needle[i])));
    if (needle_.empty()) return;
    auto edge = [&](unsigned char c, unsigned char& value, unsigned char& orMask) {
        const bool letter = fold && c >= 'A' && c <= 'Z';
        value = letter ? static_cast<unsigned char>(c | 0x20) : c;
        orMask = letter ? 0x20 : 0;
    };
    edge(static_cast<unsigned char>(needle_.front()), first_, firstOr_);
    edge(static_cast<unsigned char>(needle_.back()), last_, lastOr_);
}

size_t Searcher::Find(const char* data, size_t from, size_t to) const {
    const size_t m = needle_.size();
    if (m == 0 || to < m || from > to - m) return npos;
    const auto* text = reinterpret_cast<const unsigned char*>(data);
    const size_t lastStart = to - m;  // the last position a match can start at
    size_t i = from;
#if defined(CDMENU_WIDE_SCAN)
    // Twice the bytes per step where the processor has AVX2 (checked once).
    static const bool wide = HasAvx2();
    if (wide) {
        const size_t at = FindWide(text, i, lastStart);
        if (at != npos) return at;
    }
#endif
#if defined(__SSE2__)
    const __m128i vFirst = _mm_set1_epi8(static_cast<char>(first_)),
                  vLast = _mm_set1_epi8(static_cast<char>(last_));
    const __m128i orFirst = _mm_set1_epi8(static_cast<char>(firstOr_)),
                  orLast = _mm_set1_epi8(static_cast<char>(lastOr_));
    for (; i + 15 <= lastStart; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i)), orFirst);
        const __m128i b =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + m - 1)), orLast);
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, vFirst), _mm_cmpeq_epi8(b, vLast))));
        while (mask != 0) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            if (Matches(text + at)) return at;
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= lastStart; ++i) {
        if ((text[i] | firstOr_) == first_ && (text[i + m - 1] | lastOr_) == last_ && Matches(text + i))
            return i;
    }
    return npos;
}

#if defined(CDMENU_WIDE_SCAN)
size_t Searcher::FindWide(const unsigned char* text, size_t& i, size_t lastStart) const {
    const size_t m = needle_.size();
    const __m256i vFirst = _mm256_set1_epi8(static_cast<char>(first_)),
                  vLast = _mm256_set1_epi8(static_cast<char>(last_));
    const __m256i orFirst = _mm256_set1_epi8(static_cast<char>(firstOr_)),
                  orLast = _mm256_set1_epi8(static_cast<char>(lastOr_));
    for (; i + 31 <= lastStart; i += 32) {
        const __m256i a =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i)), orFirst);
        const __m256i b =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i + m - 1)), orLast);
        uint32_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a, vFirst), _mm256_cmpeq_epi8(b, vLast))));
        while (mask != 0) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            if (Matches(text + at)) return at;
            mask &= mask - 1;
        }
    }
    return npos;
}
#endif

// Start of the next line in [from, to) whose trimmed content is exactly `target`, or npos.
size_t NextLineTrimmedEqual(std::string_view s, const Searcher& searcher, std::string_view target,
                            size_t from, size_t to) {
    if (target.find('\n') != npos) return npos;
    for (size_t p = searcher.Find(s.data(), from, to); p != npos; p = searcher.Find(s.data(), p + 1, to)) {
        size_t start = p;
        while (start > 0 && s[start - 1] != '\n' && static_cast<unsigned char>(s[start - 1]) <= ' ') --start;
        if (start > 0 && s[start - 1] != '\n') continue;
        size_t after = p + target.size();
        while (after < s.size() && s[after] != '\n' && static_cast<unsigned char>(s[after]) <= ' ') ++after;
        if (after < s.size() && s[after] != '\n') continue;
        return start;
    }
    return npos;
}

}  // namespace catalogue
