#pragma once
// A list of cp1252 strings. Sorted lists keep the locale-aware case-insensitive order
// (AnsiCompareText) and, by default, ignore a string that compares equal to one already present.
#include <string>
#include <vector>

namespace base {

class TStream;

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
public:
    TStringList() = default;

    int Count() const { return int(items_.size()); }
    // Index errors raise EStringListError "Der Index der Liste überschreitet das Maximum (%d)".
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void SetStrings(int index, const std::string& s);
    void* Objects(int index) const;
    void SetObjects(int index, void* object);

    // Returns the index of the string; in a sorted list that ignores duplicates, the index of the
    // equal string already present.
    int Add(const std::string& s);
    int AddObject(const std::string& s, void* object);
    void Insert(int index, const std::string& s);  // not allowed on a sorted list
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    int IndexOf(const std::string& s) const;  // case-insensitive; -1 when absent
    // Binary search in a sorted list: true when found; index is where it is or would go.
    bool Find(const std::string& s, int& index) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    void Sort();

    // Lines joined with CR LF (each line followed by one).
    std::string Text() const;
    // Split at CR LF or LF; a last line without line break still counts; a lone CR is kept.
    void SetText(std::string_view text);

    // Native path in cp1252; EFOpenError "Datei %s kann nicht geöffnet werden".
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(TStream& stream);
    void SaveToFile(const std::string& fileName) const;

    int CompareStrings(const std::string& a, const std::string& b) const;

private:
    struct Item {
        std::string text;
        void* object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::string& s, void* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

}  // namespace base
