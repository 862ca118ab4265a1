// Catalogue readers on arbitrary bytes, checked against the line-by-line rules.
// Layout: flags byte, term length byte, term, then the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Catalogue.h"
#include "app/RecordIndex.h"
#include "base/Exceptions.h"
#include "tests/support/CatalogueReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t flags = data[0];
    const size_t termLength = std::min<size_t>(data[1], size - 2);
    const std::string term(reinterpret_cast<const char*>(data + 2), termLength);
    const std::string file(reinterpret_cast<const char*>(data + 2 + termLength), size - 2 - termLength);
    const bool matchCase = flags & 1, all = flags & 2;
    TCatalogue catalogue(file);
    // The reference reads the text the menu reads: a UTF-8 file arrives as cp1252.
    const std::string& text = catalogue.Bytes();

    if (SearchCatalogue(catalogue, term, matchCase) != reference::Search(text, term, matchCase))
        __builtin_trap();

    std::string mine, theirs;
    const std::optional<TProgramRecord> got =
        reference::Catching([&] { return FindProgramRecord(catalogue, term, term, all); }, mine);
    const std::optional<reference::Record> want =
        reference::Catching([&] { return reference::Find(text, term, term, all); }, theirs);
    if (mine != theirs || got.has_value() != want.has_value()) __builtin_trap();
    if (got && got->Description != want->Description) __builtin_trap();

    // The web edition's record index answers as the lookup does.
    const TRecordIndex index(catalogue);
    std::string indexed;
    size_t at = std::string_view::npos;
    try {
        at = index.Find(term, term, all);
    } catch (const base::Exception& e) {
        indexed = e.Message();
    }
    if (indexed != mine) __builtin_trap();
    if (mine.empty() && (at != std::string_view::npos) != got.has_value()) __builtin_trap();
    if (got && at != std::string_view::npos) {
        const TProgramRecord r = index.RecordAt(at);
        if (r.Facts != got->Facts || r.Description != got->Description || r.Screenshot != got->Screenshot)
            __builtin_trap();
    }

    // And its search data finds what the search finds: a record hits when a value holds the term.
    if (!term.empty()) {
        auto fold = [&](std::string text) {
            if (!matchCase)
                for (char& c : text)
                    if (c >= 'a' && c <= 'z') c = char(c - 32);
            return text;
        };
        const std::string needle = fold(term);
        std::vector<std::string> names;
        for (const TSearchableRecord& r : SearchableRecords(catalogue))
            for (const std::string& value : r.Values)
                if (fold(value).find(needle) != std::string::npos) {
                    names.push_back(r.Name);
                    break;
                }
        if (SortSearchResults(names) != SearchCatalogue(catalogue, term, matchCase)) __builtin_trap();
    }

    (void)ReadCategoryList(catalogue);
    (void)ReadCategoryPrograms(catalogue, term);
    for (std::string_view line : catalogue.Lines()) (void)StripFieldKey(line);
    return 0;
}
