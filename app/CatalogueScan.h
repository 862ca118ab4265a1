#pragma once
// The catalogue's own scanning tools, shared by its source files and used nowhere else: lines read
// in place from a block of bytes, and a substring search over such a block.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/Catalogue.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define CDMENU_WIDE_SCAN 1
#endif

namespace catalogue {

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

// Candidates are the positions whose first and last byte match the needle's, tested sixteen at a
// time where SSE2 exists; only those are compared in full. With a-z folded, a letter matches when
// the text byte OR 0x20 equals its lower-case form (exactly the two cases of that letter).
class Searcher {
public:
    Searcher(std::string_view needle, bool fold);

    size_t Length() const { return needle_.size(); }

    // First position in [from, to) of data where the needle starts (and ends before to), or npos.
    size_t Find(const char* data, size_t from, size_t to) const;

private:
#if defined(CDMENU_WIDE_SCAN)
    // The candidate loop 32 bytes at a time; i ends where the loop stopped.
    __attribute__((target("avx2"))) size_t FindWide(const unsigned char* text, size_t& i,
                                                    size_t lastStart) const;
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

// Start of the next line in [from, to) whose trimmed content is exactly `target`, or npos.
size_t NextLineTrimmedEqual(std::string_view s, const Searcher& searcher, std::string_view target,
                            size_t from, size_t to);

// The record that starts at byte `start` of s (CatalogueRecords.cpp); EStringListError with the
// index of the first missing line when s ends inside it.
TProgramRecord ReadRecord(std::string_view s, size_t start);

}  // namespace catalogue
