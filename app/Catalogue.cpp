#include "app/Catalogue.h"

#include <algorithm>
#include <cstring>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "base/StrUtils.h"
#include "base/StringList.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// ---------------------------------------------------------------------------------------------
// Lines in place. A line starts at 0 or after an LF and ends before the next LF (a CR right before
// that LF is part of the line end).

size_t LineEndRaw(const std::string& s, size_t start) {
    const void* lf = std::memchr(s.data() + start, '\n', s.size() - start);
    return lf ? static_cast<const char*>(lf) - s.data() : s.size();
}

struct LineRef {
    size_t Begin = 0, End = 0, Next = 0;  // content [Begin, End); Next = start of the following line
    std::string_view View(const std::string& s) const { return {s.data() + Begin, End - Begin}; }
};

LineRef LineAt(const std::string& s, size_t start) {
    size_t raw = LineEndRaw(s, start);
    LineRef line{start, raw, raw < s.size() ? raw + 1 : s.size()};
    if (raw < s.size() && raw > start && s[raw - 1] == '\r') line.End = raw - 1;
    return line;
}

size_t LineStartOf(const std::string& s, size_t pos) {
    while (pos > 0 && s[pos - 1] != '\n') --pos;
    return pos;
}

// Index of the line that starts at byte `start`.
size_t LineIndexAt(const std::string& s, size_t start) {
    return static_cast<size_t>(std::count(s.begin(), s.begin() + static_cast<ptrdiff_t>(start), '\n'));
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

class Searcher {
public:
    Searcher(std::string_view needle, bool fold) : fold_(fold ? kFold.upper : kFold.identity) {
        needle_.resize(needle.size());
        for (size_t i = 0; i < needle.size(); ++i) needle_[i] = fold_[static_cast<unsigned char>(needle[i])];
        size_t m = needle_.size();
        shift_.fill(m ? m : 1);
        for (size_t i = 0; i + 1 < m; ++i) {
            // Every byte that folds to this needle byte shifts alike.
            for (int c = 0; c < 256; ++c)
                if (fold_[c] == needle_[i]) shift_[c] = m - 1 - i;
        }
    }

    size_t Length() const { return needle_.size(); }

    // First position in [from, to) of data where the needle starts, or npos.
    size_t Find(const char* data, size_t from, size_t to) const {
        const size_t m = needle_.size();
        if (m == 0 || to < m) return npos;
        const auto* text = reinterpret_cast<const unsigned char*>(data);
        const auto* pat = reinterpret_cast<const unsigned char*>(needle_.data());
        if (m == 1 && fold_ == kFold.identity) {
            const void* hit = std::memchr(text + from, pat[0], to - from);
            return hit ? static_cast<const unsigned char*>(hit) - text : npos;
        }
        const unsigned char last = pat[m - 1];
        for (size_t i = from; i + m <= to;) {
            unsigned char c = fold_[text[i + m - 1]];
            if (c == last) {
                size_t k = 0;
                while (k + 1 < m && fold_[text[i + k]] == pat[k]) ++k;
                if (k + 1 >= m) return i;
            }
            i += shift_[c];
        }
        return npos;
    }

private:
    const unsigned char* fold_;
    std::string needle_;
    std::array<size_t, 256> shift_{};
};

// Start of the next line at or after `from` whose trimmed content is exactly `target`, or npos.
size_t NextLineTrimmedEqual(const std::string& s, const Searcher& searcher, std::string_view target,
                            size_t from) {
    if (target.find('\n') != npos) return npos;
    for (size_t p = searcher.Find(s.data(), from, s.size()); p != npos;
         p = searcher.Find(s.data(), p + 1, s.size())) {
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

TProgramRecord ReadRecord(const std::string& s, size_t start) {
    // Record lines 0..12 as far as the file has them.
    std::array<LineRef, 13> lines;
    size_t have = 0;
    for (size_t pos = start; have < lines.size() && pos < s.size(); ++have) {
        lines[have] = LineAt(s, pos);
        pos = lines[have].Next;
    }
    // The page reads the lines in this order; the first one missing names the failure.
    for (size_t k : {1, 2, 3, 4, 5, 6, 7, 10, 8, 9, 12}) {
        if (k >= have)
            throw base::EStringListError::IndexOutOfBounds(static_cast<int>(LineIndexAt(s, start) + k));
    }
    auto line = [&](size_t k) { return lines[k].View(s); };

    TProgramRecord record;
    record.Line = 0;
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
        if (current.Next >= s.size()) break;
        LineRef next = LineAt(s, current.Next);
        if (next.Next >= s.size()) {
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

}  // namespace

// -------------------------------------------------------------------------------------------------

TCatalogue::TCatalogue(std::string bytes) : bytes_(std::move(bytes)) {}

TCatalogue TCatalogue::LoadFromFile(const std::string& fileName) {
    base::TFileStream file(fileName, base::TFileStream::fmOpenRead);
    std::string bytes;
    int64_t size = file.Size();
    if (size > 0) bytes.resize(static_cast<size_t>(size));
    int64_t got = size > 0 ? file.Read(bytes.data(), size) : 0;
    // A folder opens but cannot be read: to the user that is a file that cannot be opened.
    if (got < 0) throw base::EFOpenError::CannotOpen(fileName);
    bytes.resize(static_cast<size_t>(got));
    return TCatalogue(std::move(bytes));
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
    std::vector<std::string> names;
    const std::string& s = progname.Bytes();
    for (size_t pos = 0; pos < s.size();) {
        LineRef line = LineAt(s, pos);
        std::string_view text = line.View(s);
        if (Contains(text, "Kategorie")) names.emplace_back(TextFrom(text, 11));
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
    const std::string& s = daten.Bytes();
    const std::string programLine = base::Trim("Programm:  " + std::string(program));
    const std::string categoryLine = base::Trim("Kategorie:" + std::string(category));
    const Searcher programSearch(programLine, false);
    const Searcher categorySearch(categoryLine, false);

    // Only header lines and the program's own lines change anything, so the walk jumps between them.
    auto nextProgram = [&](size_t from) { return NextLineTrimmedEqual(s, programSearch, programLine, from); };
    auto nextCategory = [&](size_t from) {
        return allCategories ? npos : NextLineTrimmedEqual(s, categorySearch, categoryLine, from);
    };

    std::optional<TProgramRecord> found;
    bool inCategory = allCategories;
    size_t p = nextProgram(0), c = nextCategory(0);
    while (p != npos) {
        if (c != npos && c < p) {
            inCategory = true;
            c = nextCategory(LineAt(s, c).Next);
            continue;
        }
        if (inCategory) {
            found = ReadRecord(s, p);
            found->Line = LineIndexAt(s, p);
            inCategory = allCategories;
        }
        p = nextProgram(LineAt(s, p).Next);
    }
    return found;
}

std::vector<std::string> SearchCatalogue(const TCatalogue& daten, std::string_view term, bool matchCase) {
    base::TStringList results;
    results.SetSorted(true);
    results.SetDuplicates(base::TDuplicates::dupIgnore);

    const std::string& s = daten.Bytes();
    const Searcher hits(term, !matchCase);
    if (hits.Length() == 0) return {};

    // Record starts: lines that begin with "Programm:  " at their first character.
    static constexpr std::string_view kRecordKey = "Programm:  ";
    const Searcher recordSearch("\nProgramm:  ", false);
    auto nextRecord = [&](size_t from) -> size_t {
        if (from == 0 && s.compare(0, kRecordKey.size(), kRecordKey) == 0) return 0;
        size_t p = recordSearch.Find(s.data(), from == 0 ? 0 : from - 1, s.size());
        return p == npos ? npos : p + 1;
    };

    std::string_view name;
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
        if (std::string trimmed = base::Trim(name); !trimmed.empty()) results.Add(trimmed);
        // Every further hit up to the next record would add the same name again.
        if (record == npos) break;
        pos = record;
    }

    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(results.Count()));
    for (int i = 0; i < results.Count(); ++i) names.push_back(results[i]);
    return names;
}
