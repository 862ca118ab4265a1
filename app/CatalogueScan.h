#pragma once
// The catalogue's own scanning tools, shared by its source files and used nowhere else: lines read
// in place from a block of bytes, and a substring search over such a block. The search is defined
// here so that its loops are inlined into the scans, as they were when all of this was one file.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/Catalogue.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define CDMENU_WIDE_SCAN 1
#endif

namespace catalogue {

#if defined(CDMENU_WIDE_SCAN)
// AVX2 present and its registers saved by the system. Asked of the processor directly: the
// compiler's own check brings a start-up constructor and its tables, read from the disc at every start.
inline bool HasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned lo = 0, hi = 0;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6) != 6) return false;  // XMM and YMM state
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_AVX2);
}
#endif

inline constexpr size_t npos = std::string_view::npos;
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// ---------------------------------------------------------------------------------------------
// Lines in place. A line starts at 0 or after an LF and ends before the next LF (a CR right before
// that LF is part of the line end).

inline size_t LineEndRaw(std::string_view s, size_t start) {
    const void* lf = std::memchr(s.data() + start, '\n', s.size() - start);
    return lf ? static_cast<const char*>(lf) - s.data() : s.size();
}

struct LineRef {
    size_t Begin = 0, End = 0, Next = 0;  // content [Begin, End); Next = start of the following line
    std::string_view View(std::string_view s) const { return {s.data() + Begin, End - Begin}; }
};

inline LineRef LineAt(std::string_view s, size_t start) {
    size_t raw = LineEndRaw(s, start);
    LineRef line{start, raw, raw < s.size() ? raw + 1 : s.size()};
    if (raw < s.size() && raw > start && s[raw - 1] == '\r') line.End = raw - 1;
    return line;
}

inline size_t LineStartOf(std::string_view s, size_t pos) {
    while (pos > 0 && s[pos - 1] != '\n') --pos;
    return pos;
}

// Index of the line that starts at byte `start`: the line feeds before it, eight bytes at a time.
size_t LineIndexAt(std::string_view s, size_t start);

inline bool Contains(std::string_view line, std::string_view key) {
    return line.find(key) != npos;
}

// Position of the first byte beyond ASCII, or npos.
size_t FirstNonAscii(std::string_view s);

// ---------------------------------------------------------------------------------------------
// Substring search over the whole file (Horspool), exact or with a-z folded to A-Z. The fold is the
// one the search rules ask for; umlauts compare as they are.

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
inline const FoldTables kFold;

// Candidates are the positions whose first and last byte match the needle's, tested sixteen at a
// time where SSE2 exists; only those are compared in full. With a-z folded, a letter matches when
// the text byte OR 0x20 equals its lower-case form (exactly the two cases of that letter).
class Searcher {
public:
    Searcher(std::string_view needle, bool fold) : fold_(fold ? kFold.upper : kFold.identity) {
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

    size_t Length() const { return needle_.size(); }

    // First position in [from, to) of data where the needle starts (and ends before to), or npos.
    size_t Find(const char* data, size_t from, size_t to) const {
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
            const __m128i a =
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i)), orFirst);
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

private:
#if defined(CDMENU_WIDE_SCAN)
    // The candidate loop 32 bytes at a time; i ends where the loop stopped.
    __attribute__((target("avx2"))) size_t FindWide(const unsigned char* text, size_t& i,
                                                    size_t lastStart) const {
        const size_t m = needle_.size();
        const __m256i vFirst = _mm256_set1_epi8(static_cast<char>(first_)),
                      vLast = _mm256_set1_epi8(static_cast<char>(last_));
        const __m256i orFirst = _mm256_set1_epi8(static_cast<char>(firstOr_)),
                      orLast = _mm256_set1_epi8(static_cast<char>(lastOr_));
        for (; i + 31 <= lastStart; i += 32) {
            const __m256i a =
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i)), orFirst);
            const __m256i b = _mm256_or_si256(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i + m - 1)), orLast);
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
    unsigned char Fold(unsigned char c) const {
        return fold_[c];
    }
    bool Matches(const unsigned char* at) const {
        const auto* pat = reinterpret_cast<const unsigned char*>(needle_.data());
        for (size_t k = 1; k + 1 < needle_.size(); ++k)
            if (Fold(at[k]) != pat[k]) return false;
        return true;
    }

    const unsigned char* fold_;
    std::string needle_;  // folded
    unsigned char first_ = 0, firstOr_ = 0, last_ = 0, lastOr_ = 0;
};

// The record that starts at byte `start` of s (CatalogueRecords.cpp); EStringListError with the
// index of the first missing line when s ends inside it.
TProgramRecord ReadRecord(std::string_view s, size_t start);

}  // namespace catalogue
