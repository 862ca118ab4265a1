#include "base/StringList.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"

namespace base {

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EStringListError::IndexOutOfBounds(index);
}

const std::string& TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[size_t(index)].text;
}

void TStringList::SetStrings(int index, const std::string& s) {
    if (sorted_) throw EStringListError::SortedListOperation();
    CheckIndex(index);
    items_[size_t(index)].text = s;
}

void* TStringList::Objects(int index) const {
    CheckIndex(index);
    return items_[size_t(index)].object;
}

void TStringList::SetObjects(int index, void* object) {
    CheckIndex(index);
    items_[size_t(index)].object = object;
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    if (caseSensitive_) {
        int c = AnsiCompareText(a, b);
        if (c != 0) return c;
        return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
    }
    return AnsiCompareText(a, b);
}

bool TStringList::Find(const std::string& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[size_t(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::Add(const std::string& s) {
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const std::string& s, void* object) {
    int index = Count();
    if (sorted_) {
        if (Find(s, index)) {
            if (duplicates_ == TDuplicates::dupIgnore) return index;
            if (duplicates_ == TDuplicates::dupError) throw EStringListError("Liste erlaubt keine Duplikate");
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::InsertItem(int index, const std::string& s, void* object) {
    items_.insert(items_.begin() + index, Item{s, object});
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) throw EStringListError::SortedListOperation();
    if (index < 0 || index > Count()) throw EStringListError::IndexOutOfBounds(index);
    InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void TStringList::Clear() {
    items_.clear();
}

void TStringList::Exchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(items_[size_t(a)], items_[size_t(b)]);
}

int TStringList::IndexOf(const std::string& s) const {
    if (sorted_) {
        int index;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(items_[size_t(i)].text, s) == 0) return i;
    return -1;
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    sorted_ = sorted;
    if (sorted_) Sort();
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == caseSensitive_) return;
    caseSensitive_ = value;
    if (sorted_) Sort();
}

std::string TStringList::Text() const {
    std::string out;
    for (const Item& it : items_) {
        out += it.text;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(std::string_view text) {
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t lf = text.find('\n', pos);
        size_t end = lf == std::string_view::npos ? text.size() : lf;
        size_t lineEnd = end;
        if (lf != std::string_view::npos && lineEnd > pos && text[lineEnd - 1] == '\r') --lineEnd;
        Add(std::string(text.substr(pos, lineEnd - pos)));
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
    }
}

void TStringList::LoadFromStream(TStream& stream) {
    int64_t n = stream.Size() - stream.Position();
    std::string data(size_t(std::max<int64_t>(n, 0)), '\0');
    stream.ReadBuffer(data.data(), int64_t(data.size()));
    SetText(data);
}

void TStringList::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, TFileStream::fmOpenRead);
    LoadFromStream(f);
}

void TStringList::SaveToFile(const std::string& fileName) const {
    TFileStream f(fileName, TFileStream::fmCreate);
    std::string t = Text();
    f.WriteBuffer(t.data(), int64_t(t.size()));
}

}  // namespace base
