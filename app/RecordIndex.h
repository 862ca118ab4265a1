#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/Catalogue.h"

// Many record lookups over one daten.txt (the web edition's pages): the file is scanned once for
// its record and category lines, and each lookup gives the answer FindProgramRecord gives.
class TRecordIndex {
public:
    // Keeps a reference to daten, which must outlive the index.
    explicit TRecordIndex(const TCatalogue& daten);
    // Where the record FindProgramRecord would return starts (a byte offset), or npos for none.
    size_t Find(std::string_view program, std::string_view category, bool allCategories) const;
    // The record at such an offset; EStringListError when the file ends inside it.
    TProgramRecord RecordAt(size_t offset) const;

private:
    const TCatalogue& daten_;
    // Trimmed "Programm:..." and "Kategorie:..." lines -> where each occurs, in file order.
    std::unordered_map<std::string, std::vector<size_t>> keyLines_;
};
