// The search over daten.txt: the names of the programs whose records hold a term.
#include <algorithm>

#include "app/Catalogue.h"
#include "app/CatalogueScan.h"
#include "base/StrUtils.h"

using catalogue::Contains;
using catalogue::LineAt;
using catalogue::LineRef;
using catalogue::LineStartOf;
using catalogue::npos;
using catalogue::Searcher;

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
