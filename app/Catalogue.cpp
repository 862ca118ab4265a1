#include "app/Catalogue.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "base/StrUtils.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define CDMENU_WIDE_SCAN 1
#endif

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

constexpr size_t npos = std::string_view::npos;

// ---------------------------------------------------------------------------------------------
// Lines in place. A line starts at 0 or after an LF and ends before the next LF (a CR right before
// that LF is part of the line end).

size_t LineEndRaw(std::string_view s, size_t start) {
    const void* lf = std::memchr(s.data() + start, '\n', s.size() - start);
    return lf ? static_cast<const char*>(lf) - s.data() : s.size();
}

struct LineRef {
    size_t Begin = 0, End = 0, Next = 0;  // content [Begin, End); Next = start of the following line
    std::string_view View(std::string_view s) const { return {s.data() + Begin, End - Begin}; }
};

LineRef LineAt(std::string_view s, size_t start) {
    size_t raw = LineEndRaw(s, start);
    LineRef line{start, raw, raw < s.size() ? raw + 1 : s.size()};
    if (raw < s.size() && raw > start && s[raw - 1] == '\r') line.End = raw - 1;
    return line;
}

size_t LineStartOf(std::string_view s, size_t pos) {
    while (pos > 0 && s[pos - 1] != '\n') --pos;
    return pos;
}

// Index of the line that starts at byte `start`: the line feeds before it, eight bytes at a time.
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

bool Contains(std::string_view line, std::string_view key) {
    return line.find(key) != npos;
}

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
const FoldTables kFold;

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

// A record needs lines beyond the bytes at hand: `missing` is the first one the page reads, counted
// from the record's first line.
struct TRecordCut {
    size_t missing;
};

// Reads the record that starts at `start`. `reachedEnd` says whether the description ran up to the
// end of s (so that more bytes after s could still belong to it); throws TRecordCut.
TProgramRecord ReadRecordAt(std::string_view s, size_t start, bool& reachedEnd) {
    reachedEnd = false;
    // Record lines 0..12 as far as the file has them.
    std::array<LineRef, 13> lines;
    size_t have = 0;
    for (size_t pos = start; have < lines.size() && pos < s.size(); ++have) {
        lines[have] = LineAt(s, pos);
        pos = lines[have].Next;
    }
    // The page reads the lines in this order; the first one missing names the failure.
    for (size_t k : {1, 2, 3, 4, 5, 6, 7, 10, 8, 9, 12}) {
        if (k >= have) throw TRecordCut{k};
    }
    auto line = [&](size_t k) { return lines[k].View(s); };

    TProgramRecord record;
    for (size_t k = 0; k < 5; ++k) record.Facts[k] = std::string(TextFrom(line(k + 1), 11, 255));
    record.Facts[5] = std::string(TextFrom(line(6), 12, 255));
    record.Screenshot = std::string(TextFrom(line(7), 12));
    record.Features = std::string(TextFrom(line(10), 11));
    record.Install = std::string(TextFrom(base::Trim(line(8)), 12));
    record.Start = std::string(TextFrom(line(9), 11));

    // Description: after taking line j it ends when there is no line j+2 or that line starts the
    // next record or category; with one empty separator line that stops right before it.
    LineRef current = lines[12];
    for (;;) {
        record.Description.emplace_back(current.View(s));
        if (current.Next >= s.size()) {
            reachedEnd = true;
            break;
        }
        LineRef next = LineAt(s, current.Next);
        if (next.Next >= s.size()) {
            reachedEnd = true;
            // The rule stops one line early at the end of the file; without a final empty line that
            // would drop the description's last line, so a non-empty last line is kept.
            if (next.End > next.Begin) record.Description.emplace_back(next.View(s));
            break;
        }
        std::string_view afterNext = LineAt(s, next.Next).View(s);
        if (Contains(afterNext, "Programm:") || Contains(afterNext, "Kategorie:")) break;
        current = next;
    }
    return record;
}

TProgramRecord ReadRecord(std::string_view s, size_t start) {
    bool reachedEnd = false;
    try {
        return ReadRecordAt(s, start, reachedEnd);
    } catch (const TRecordCut& cut) {
        throw base::EStringListError::IndexOutOfBounds(static_cast<int>(LineIndexAt(s, start) + cut.missing));
    }
}

// The state of a record lookup carried from one piece of daten.txt to the next.
struct RecordLookup {
    std::string programLine, categoryLine;
    Searcher programSearch, categorySearch;
    bool allCategories;
    bool inCategory;
    RecordLookup(std::string_view program, std::string_view category, bool all)
        : programLine(base::Trim("Programm:  " + std::string(program))),
          categoryLine(base::Trim("Kategorie:" + std::string(category))),
          programSearch(programLine, false),
          categorySearch(categoryLine, false),
          allCategories(all),
          inCategory(all) {}

    // Matching records in a piece that starts at a line start and ends after a line end (or at the
    // end of the file), each with the position of its first line; the last one counts.
    template <class OnMatch>
    void Scan(std::string_view s, OnMatch onMatch) {
        // Outside the category only a header changes anything, inside it only the program's line:
        // each byte is looked at for one of the two.
        for (size_t pos = 0; pos < s.size();) {
            const Searcher& search = inCategory ? programSearch : categorySearch;
            const size_t p =
                NextLineTrimmedEqual(s, search, inCategory ? programLine : categoryLine, pos, s.size());
            if (p == npos) return;
            if (inCategory) {
                onMatch(p);
                inCategory = allCategories;
            } else {
                inCategory = true;
            }
            pos = LineAt(s, p).Next;
        }
    }
};

}  // namespace

// -------------------------------------------------------------------------------------------------

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

}  // namespace

TDataEncoding DataEncodingOf(std::string_view bytes) {
    const size_t first = FirstNonAscii(bytes);
    if (first == npos) return TDataEncoding::Cp1252;
    base::TUtf8Check check;
    if (!check.Feed(bytes.substr(first)) || !check.Complete()) return TDataEncoding::Cp1252;
    return bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark ? TDataEncoding::Utf8WithBom
                                                                    : TDataEncoding::Utf8;
}

std::string DataText(std::string_view bytes, TDataEncoding encoding) {
    if (encoding == TDataEncoding::Cp1252) return std::string(bytes);
    if (encoding == TDataEncoding::Utf8WithBom) bytes.remove_prefix(kByteOrderMark.size());
    return base::Utf8ToCp1252(bytes);
}

TCatalogue::TCatalogue(std::string bytes) : encoding_(DataEncodingOf(bytes)) {
    bytes_ = encoding_ == TDataEncoding::Cp1252 ? std::move(bytes) : DataText(bytes, encoding_);
}

TCatalogue TCatalogue::LoadFromFile(const std::string& fileName) {
    TCatalogue catalogue;
    catalogue.Load(fileName);
    return catalogue;
}

void TCatalogue::Load(const std::string& fileName) {
    base::TFileStream file(fileName, base::TFileStream::fmOpenRead);
    const int64_t size = file.Size();
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    const int64_t got = size > 0 ? file.Read(bytes_.data(), size) : 0;
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    encoding_ = DataEncodingOf(bytes_);
    if (encoding_ != TDataEncoding::Cp1252) bytes_ = DataText(bytes_, encoding_);
}

size_t TCatalogue::LineCount() const {
    size_t count = LineIndexAt(bytes_, bytes_.size());
    if (!bytes_.empty() && bytes_.back() != '\n') ++count;
    return count;
}

std::vector<std::string_view> TCatalogue::Lines() const {
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < bytes_.size();) {
        LineRef line = LineAt(bytes_, pos);
        lines.push_back(line.View(bytes_));
        pos = line.Next;
    }
    return lines;
}

TCatalogueReader::TCatalogueReader(const std::string& fileName, size_t pieceSize)
    : file_(std::make_unique<base::TFileStream>(fileName, base::TFileStream::fmOpenRead)),
      buffer_(std::max<size_t>(pieceSize, 1), '\0') {}

TCatalogueReader::~TCatalogueReader() = default;

std::string_view TCatalogueReader::Next() {
    if (converted_) {
        // The converted rest is one piece.
        offset_ = next_;
        if (offset_ >= textBase_ + text_.size()) return {};
        next_ = textBase_ + text_.size();
        return std::string_view(text_).substr(size_t(offset_ - textBase_));
    }
    // What followed the last line end of the previous piece starts this one.
    std::memmove(buffer_.data(), buffer_.data() + used_, filled_ - used_);
    filled_ -= used_;
    offset_ = next_;
    used_ = 0;
    for (;;) {
        if (!atEnd_ && filled_ < buffer_.size()) {
            const int64_t got = file_->Read(buffer_.data() + filled_, int64_t(buffer_.size() - filled_));
            if (got <= 0)
                atEnd_ = true;
            else
                filled_ += size_t(got);
        }
        // The last line feed (memrchr is a GNU extension).
        const std::string_view filled(buffer_.data(), filled_);
        const size_t lf = filled.rfind('\n');
        if (lf != std::string_view::npos) {
            used_ = lf + 1;
            break;
        }
        if (atEnd_) {
            used_ = filled_;
            break;
        }
        // A line longer than the buffer: make room for the rest of it.
        if (filled_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    }
    next_ = offset_ + used_;
    // Until the first byte beyond ASCII every encoding reads alike.
    if (!decided_) {
        const size_t first = FirstNonAscii(std::string_view(buffer_.data(), used_));
        if (first != npos) {
            decided_ = true;
            if (RestIsUtf8(first)) {
                ConvertRest();
                next_ = offset_;
                return Next();
            }
        }
    }
    return {buffer_.data(), used_};
}

bool TCatalogueReader::RestIsUtf8(size_t from) {
    base::TUtf8Check check;
    if (!check.Feed(std::string_view(buffer_.data() + from, filled_ - from))) return false;
    if (!atEnd_) {
        // The file is read on where the buffer ends, and put back there.
        const int64_t resume = file_->Position();
        std::string chunk(kPiece, '\0');
        for (int64_t got; (got = file_->Read(chunk.data(), int64_t(chunk.size()))) > 0;)
            if (!check.Feed(std::string_view(chunk.data(), size_t(got)))) break;
        file_->Seek(resume, base::TSeekOrigin::soBeginning);
    }
    return check.Complete();
}

void TCatalogueReader::ConvertRest() {
    std::string rest(buffer_.data(), filled_);
    if (!atEnd_) {
        std::string chunk(kPiece, '\0');
        for (int64_t got; (got = file_->Read(chunk.data(), int64_t(chunk.size()))) > 0;)
            rest.append(chunk.data(), size_t(got));
    }
    const bool bom =
        offset_ == 0 && std::string_view(rest).substr(0, kByteOrderMark.size()) == kByteOrderMark;
    text_ = DataText(rest, bom ? TDataEncoding::Utf8WithBom : TDataEncoding::Utf8);
    textBase_ = offset_;
    converted_ = true;
    atEnd_ = true;
}

std::string TCatalogueReader::ReadAt(uint64_t offset, size_t count) {
    std::string bytes;
    // Before the converted text the file is ASCII: read as it is.
    const uint64_t rawEnd = converted_ ? std::min<uint64_t>(offset + count, textBase_) : offset + count;
    if (offset < rawEnd) {
        bytes.assign(size_t(rawEnd - offset), '\0');
        file_->Seek(int64_t(offset), base::TSeekOrigin::soBeginning);
        const int64_t got = file_->Read(bytes.data(), int64_t(bytes.size()));
        bytes.resize(size_t(std::max<int64_t>(got, 0)));
    }
    if (converted_ && offset + count > textBase_) {
        const uint64_t from = std::max(offset, textBase_) - textBase_;
        if (from < text_.size())
            bytes += text_.substr(size_t(from), size_t(offset + count - textBase_ - from));
    }
    return bytes;
}

std::string_view TextFrom(std::string_view line, size_t position, size_t maxLength) {
    if (position == 0) position = 1;
    if (line.size() < position) return line.substr(line.size());
    return line.substr(position - 1, maxLength);
}

std::string_view StripFieldKey(std::string_view line) {
    // The path keys are checked last in the rule and override the value keys, so they go first here.
    for (std::string_view key : {"Screenshot:", "Install:", "Starten:", "Text:"})
        if (Contains(line, key)) return line.substr(0, 0);
    for (std::string_view key :
         {"Programm:", "Prog_OS:", "Lizenz:", "Preis:", "Sprache:", "Anbieter:", "Homepage:"})
        if (Contains(line, key)) return TextFrom(line, 11, 255);
    return line;
}

std::vector<std::string> ReadCategoryList(const TCatalogue& progname) {
    const Searcher categoryWord("Kategorie", true);
    std::vector<std::string> names;
    const std::string& s = progname.Bytes();
    for (size_t pos = 0; pos < s.size();) {
        LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        // Compounds count as the format's authors use them: "Unterkategorie:Spiele" is a category
        // line too, so this one test ignores the letter case (a-z) of the word.
        if (categoryWord.Find(text.data(), 0, text.size()) != npos) names.emplace_back(TextFrom(text, 11));
        pos = line.Next;
    }
    return names;
}

std::vector<std::string> ReadCategoryPrograms(const TCatalogue& progname, std::string_view category) {
    std::vector<std::string> programs;
    const std::string header = "Kategorie:" + std::string(category);
    const std::string& s = progname.Bytes();
    bool collecting = false;
    for (size_t pos = 0; pos < s.size();) {
        LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        // A line of blanks is not empty and does not end the block.
        if (text.empty()) collecting = false;
        if (collecting) programs.emplace_back(text);
        if (Contains(text, header)) collecting = true;
        pos = line.Next;
    }
    return programs;
}

std::optional<TProgramRecord> FindProgramRecord(const TCatalogue& daten, std::string_view program,
                                                std::string_view category, bool allCategories) {
    RecordLookup lookup(program, category, allCategories);
    std::optional<TProgramRecord> found;
    // Every match is read, so that one cut short by the end of the file fails as it would alone.
    lookup.Scan(daten.Bytes(), [&](size_t p) { found = ReadRecord(daten.Bytes(), p); });
    return found;
}

std::optional<TProgramRecord> FindProgramRecordFile(const std::string& fileName, std::string_view program,
                                                    std::string_view category, bool allCategories,
                                                    size_t pieceSize) {
    RecordLookup lookup(program, category, allCategories);
    TCatalogueReader reader(fileName, pieceSize);
    std::vector<uint64_t> matches;
    for (std::string_view piece = reader.Next(); !piece.empty(); piece = reader.Next())
        lookup.Scan(piece, [&](size_t p) { matches.push_back(reader.Offset() + p); });
    // Each match is read again from where it starts, in as much of the file as it needs; every one
    // is read, so that one cut short by the end of the file fails as it would alone.
    std::optional<TProgramRecord> found;
    for (const uint64_t at : matches) {
        for (size_t window = std::min<size_t>(pieceSize, 64 * 1024);; window *= 2) {
            const std::string bytes = reader.ReadAt(at, window);
            const bool wholeRest = bytes.size() < window;
            bool reachedEnd = false;
            try {
                TProgramRecord record = ReadRecordAt(bytes, 0, reachedEnd);
                if (reachedEnd && !wholeRest) continue;
                found = std::move(record);
                break;
            } catch (const TRecordCut& cut) {
                if (!wholeRest) continue;
                const std::string head = reader.ReadAt(0, size_t(at));
                throw base::EStringListError::IndexOutOfBounds(
                    static_cast<int>(LineIndexAt(head, head.size()) + cut.missing));
            }
        }
    }
    return found;
}

namespace {

// The search over one piece of daten.txt that starts at a line start and ends after a line end (or
// at the end of the file). `name` carries the program whose record the piece starts in.
struct SearchState {
    const Searcher hits;
    std::string name;
    std::vector<std::string> found;  // in the order their hits are found
    SearchState(std::string_view term, bool matchCase) : hits(term, !matchCase) {}
};

void SearchPiece(std::string_view s, SearchState& state) {
    // Record starts: lines that begin with "Programm:  " at their first character.
    static constexpr std::string_view kRecordKey = "Programm:  ";
    static const Searcher recordSearch("\nProgramm:  ", false);
    auto nextRecord = [&](size_t from) -> size_t {
        if (from == 0 && s.substr(0, kRecordKey.size()) == kRecordKey) return 0;
        size_t p = recordSearch.Find(s.data(), from == 0 ? 0 : from - 1, s.size());
        return p == npos ? npos : p + 1;
    };
    const Searcher& hits = state.hits;
    std::string_view name;
    bool carried = true;  // the name is still the one from before this piece
    size_t record = nextRecord(0);
    for (size_t pos = 0;;) {
        size_t p = hits.Find(s.data(), pos, s.size());
        if (p == npos) break;
        size_t start = LineStartOf(s, p);
        LineRef line = LineAt(s, start);
        if (p + hits.Length() > line.End) {  // runs over the line end
            pos = p + 1;
            continue;
        }
        while (record != npos && record <= start) {
            name = TextFrom(LineAt(s, record).View(s), 11, 255);
            carried = false;
            record = nextRecord(record + 1);
        }
        std::string_view text = line.View(s);
        bool hit = false;
        if (!Contains(text, "Kategorie:")) {
            std::string_view value = StripFieldKey(text);
            hit = hits.Find(value.data(), 0, value.size()) != npos;
        }
        if (!hit) {
            pos = line.Next;
            continue;
        }
        // A hit before the first record has no program to show.
        if (std::string trimmed = base::Trim(carried ? std::string_view(state.name) : name); !trimmed.empty())
            state.found.push_back(std::move(trimmed));
        // Every further hit up to the next record would add the same name again.
        if (record == npos) break;
        pos = record;
    }
    // The record the next piece starts in: the last one that starts in this piece, if any.
    size_t last = s.rfind("\nProgramm:  ");
    last = last != npos ? last + 1 : (s.substr(0, kRecordKey.size()) == kRecordKey ? 0 : npos);
    if (last != npos) state.name = std::string(TextFrom(LineAt(s, last).View(s), 11, 255));
}

// The result of adding the names one by one to a sorted string list that ignores duplicates:
// locale-aware order, and of names that compare equal the first one found. A stable sort followed
// by dropping equal neighbours gives the same list in n log n instead of one insertion per name.
std::vector<std::string> SortedOnce(std::vector<std::string> found) {
    auto less = [](const std::string& a, const std::string& b) { return base::AnsiCompareText(a, b) < 0; };
    std::stable_sort(found.begin(), found.end(), less);
    auto same = [](const std::string& a, const std::string& b) {
        return a == b || base::AnsiCompareText(a, b) == 0;
    };
    found.erase(std::unique(found.begin(), found.end(), same), found.end());
    return found;
}

}  // namespace

std::vector<std::string> SortSearchResults(std::vector<std::string> found) {
    return SortedOnce(std::move(found));
}

std::vector<TSearchableRecord> SearchableRecords(const TCatalogue& daten) {
    static constexpr std::string_view kRecordKey = "Programm:  ";
    std::vector<TSearchableRecord> records;
    const std::string& s = daten.Bytes();
    bool named = false;  // lines before the first record, and records without a name, list nothing
    for (size_t pos = 0; pos < s.size();) {
        const LineRef line = LineAt(s, pos);
        pos = line.Next;
        const std::string_view text = line.View(s);
        if (text.substr(0, kRecordKey.size()) == kRecordKey) {
            std::string name = base::Trim(TextFrom(text, 11, 255));
            named = !name.empty();
            if (named) records.push_back({std::move(name), {}});
        }
        if (!named || Contains(text, "Kategorie:")) continue;
        const std::string_view value = StripFieldKey(text);
        if (!value.empty()) records.back().Values.emplace_back(value);
    }
    return records;
}

TRecordIndex::TRecordIndex(const TCatalogue& daten) : daten_(daten) {
    const std::string& s = daten.Bytes();
    for (size_t pos = 0; pos < s.size();) {
        const LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
        // Only these lines can equal a lookup's trimmed "Programm:  name" or "Kategorie:name".
        if (text.substr(0, 9) == "Programm:" || text.substr(0, 10) == "Kategorie:")
            keyLines_[base::Trim(text)].push_back(pos);
        pos = line.Next;
    }
}

size_t TRecordIndex::Find(std::string_view program, std::string_view category, bool allCategories) const {
    static const std::vector<size_t> kNone;
    auto at = [&](const std::string& key) -> const std::vector<size_t>& {
        const auto it = keyLines_.find(key);
        return it == keyLines_.end() ? kNone : it->second;
    };
    const std::vector<size_t>& records = at(base::Trim("Programm:  " + std::string(program)));
    if (records.empty()) return npos;
    // Every match is read, so that one cut short by the end of the file fails as it would there.
    auto check = [&](size_t offset) { (void)ReadRecord(daten_.Bytes(), offset); };
    if (allCategories) {
        for (size_t offset : records) check(offset);
        return records.back();
    }
    // The lookup's switch: on at a header of the category, off again after the record it finds.
    const std::vector<size_t>& headers = at(base::Trim("Kategorie:" + std::string(category)));
    size_t found = npos;
    for (size_t after = 0;;) {
        const auto header = std::lower_bound(headers.begin(), headers.end(), after);
        if (header == headers.end()) break;
        const auto record = std::upper_bound(records.begin(), records.end(), *header);
        if (record == records.end()) break;
        check(*record);
        found = *record;
        after = *record + 1;
    }
    return found;
}

TProgramRecord TRecordIndex::RecordAt(size_t offset) const {
    return ReadRecord(daten_.Bytes(), offset);
}

std::vector<std::string> SearchCatalogue(const TCatalogue& daten, std::string_view term, bool matchCase) {
    SearchState state(term, matchCase);
    if (state.hits.Length() == 0) return {};
    SearchPiece(daten.Bytes(), state);
    return SortedOnce(std::move(state.found));
}

std::vector<std::string> SearchCatalogueFile(const std::string& fileName, std::string_view term,
                                             bool matchCase, size_t pieceSize) {
    SearchState state(term, matchCase);
    TCatalogueReader reader(fileName, pieceSize);
    if (state.hits.Length() == 0) return {};
    for (std::string_view piece = reader.Next(); !piece.empty(); piece = reader.Next())
        SearchPiece(piece, state);
    return SortedOnce(std::move(state.found));
}

std::vector<std::string> SampleStoredPaths(std::string_view bytes, size_t max) {
    std::vector<std::string> paths;
    while (!bytes.empty() && paths.size() < max) {
        const size_t lf = bytes.find('\n');
        const std::string_view line = bytes.substr(0, lf);
        bytes = lf == npos ? std::string_view() : bytes.substr(lf + 1);
        for (std::string_view key : {"Screenshot:", "Install:", "Starten:"}) {
            const size_t at = line.find(key);
            if (at == npos) continue;
            std::string value = base::Trim(line.substr(at + key.size()));
            if (value.size() <= 3) break;  // an absent path
            const size_t colon = value.find(':');
            if (colon != std::string::npos) value.erase(0, colon + 1);  // the authoring drive
            const size_t rest = value.find_first_not_of("\\/");
            if (rest != std::string::npos) paths.push_back(value.substr(rest));
            break;
        }
    }
    return paths;
}
