#pragma once
// Line-by-line versions of the catalogue rules, written as plainly as the rules read, against which
// the fast in-place readers of app/Catalogue are checked (tests and fuzz targets).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"
#include "base/StrUtils.h"
#include "base/StringList.h"

namespace reference {

// What lookup returns; when it raises a base::Exception, its message goes to message and the result
// is empty. For comparing the menu's lookups with the reference's, failures included.
template <class F>
auto Catching(F lookup, std::string& message) -> decltype(lookup()) {
    try {
        return lookup();
    } catch (const base::Exception& e) {
        message = e.Message();
        return {};
    }
}

inline std::vector<std::string> SplitLines(std::string_view text) {
    base::TStringList list;
    list.SetText(text);
    std::vector<std::string> lines;
    lines.reserve(size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

inline std::string From(const std::string& line, size_t position, size_t max = std::string::npos) {
    return line.size() < position ? std::string() : line.substr(position - 1, max);
}

inline bool Has(const std::string& line, const char* key) {
    return line.find(key) != std::string::npos;
}

inline std::string StripFieldKey(const std::string& line) {
    std::string value = line;
    for (const char* key :
         {"Programm:", "Prog_OS:", "Lizenz:", "Preis:", "Sprache:", "Anbieter:", "Homepage:"})
        if (Has(line, key)) value = From(line, 11, 255);
    for (const char* key : {"Screenshot:", "Install:", "Starten:", "Text:"})
        if (Has(line, key)) value.clear();
    return value;
}

inline std::vector<std::string> Search(std::string_view file, const std::string& term, bool matchCase) {
    base::TStringList results;
    results.SetSorted(true);
    results.SetDuplicates(base::TDuplicates::dupIgnore);
    std::string name;
    for (const std::string& line : SplitLines(file)) {
        if (line.rfind("Programm:  ", 0) == 0) name = From(line, 11, 255);
        const std::string value = StripFieldKey(line);
        const bool hit = !term.empty() && (matchCase ? value.find(term) != std::string::npos
                                                     : base::UpperCase(value).find(base::UpperCase(term)) !=
                                                           std::string::npos);
        if (hit && !Has(line, "Kategorie:") && !base::Trim(name).empty()) results.Add(base::Trim(name));
    }
    std::vector<std::string> names;
    names.reserve(size_t(results.Count()));
    for (int i = 0; i < results.Count(); ++i) names.push_back(results[i]);
    return names;
}

struct Record {
    std::vector<std::string> Values;  // facts 0-5, screenshot, features, install, start (reading order)
    std::vector<std::string> Description;
};

// The page walk: returns the last record filled, or throws the list's index error.
inline std::optional<Record> Find(std::string_view file, const std::string& program,
                                  const std::string& category, bool allCategories) {
    const std::vector<std::string> lines = SplitLines(file);
    const int count = static_cast<int>(lines.size());
    auto at = [&](int i) -> const std::string& {
        if (i >= count) throw base::EStringListError::IndexOutOfBounds(i);
        return lines[size_t(i)];
    };
    std::optional<Record> found;
    bool on = false;
    for (int i = 0; i < count; ++i) {
        if (allCategories || base::Trim(lines[size_t(i)]) == base::Trim("Kategorie:" + category)) on = true;
        if (base::Trim(lines[size_t(i)]) != base::Trim("Programm:  " + program) || !on) continue;
        on = false;
        Record r;
        for (int k = 1; k <= 5; ++k) r.Values.push_back(From(at(i + k), 11, 255));
        r.Values.push_back(From(at(i + 6), 12, 255));
        r.Values.push_back(From(at(i + 7), 12));
        r.Values.push_back(From(at(i + 10), 11));
        r.Values.push_back(From(base::Trim(at(i + 8)), 12));
        r.Values.push_back(From(at(i + 9), 11));
        for (int j = i + 12;; ++j) {
            r.Description.push_back(at(j));
            if (j + 2 >= count) {
                // Kept deliberately: a non-empty last line of the file belongs to the description.
                if (j + 1 < count && !lines[size_t(j) + 1].empty())
                    r.Description.push_back(lines[size_t(j) + 1]);
                break;
            }
            if (Has(lines[size_t(j) + 2], "Programm:") || Has(lines[size_t(j) + 2], "Kategorie:")) break;
        }
        found = r;
    }
    return found;
}

}  // namespace reference
