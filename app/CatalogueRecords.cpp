// The daten.txt records: reading one, and finding a program's record in memory or in the file.
#include <algorithm>
#include <array>

#include "app/Catalogue.h"
#include "app/CatalogueScan.h"
#include "base/Exceptions.h"
#include "base/StrUtils.h"

namespace catalogue {

namespace {

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

}  // namespace

TProgramRecord ReadRecord(std::string_view s, size_t start) {
    bool reachedEnd = false;
    try {
        return ReadRecordAt(s, start, reachedEnd);
    } catch (const TRecordCut& cut) {
        throw base::EStringListError::IndexOutOfBounds(static_cast<int>(LineIndexAt(s, start) + cut.missing));
    }
}

}  // namespace catalogue

using catalogue::LineAt;
using catalogue::LineIndexAt;
using catalogue::npos;
using catalogue::ReadRecord;
using catalogue::ReadRecordAt;
using catalogue::Searcher;
using catalogue::TRecordCut;

namespace {

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
