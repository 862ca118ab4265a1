#include "app/RecordIndex.h"

#include <algorithm>

#include "app/CatalogueScan.h"
#include "base/StrUtils.h"

using catalogue::LineAt;
using catalogue::LineRef;
using catalogue::npos;
using catalogue::ReadRecord;

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
