#pragma once
// The catalogue of a disc: progname.txt (categories and their programs in menu order) and
// daten.txt (one record per program). A file is held as one block of bytes and read line by line
// in place, so that a page or a search over a large daten.txt costs one read and one scan.
//
// Lines are split at CR LF or LF; the line end is not part of the line; a file ending with a line
// end has no empty last line. Key recognition is a case-sensitive substring test unless noted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CatalogueReader.h"

// How a data file is read. Editors save UTF-8 today: a file that is valid UTF-8 and holds a
// character beyond ASCII (a byte-order mark counts) is read as UTF-8 and turned into the program's
// cp1252, each file on its own, a character cp1252 lacks becoming "?". Any other file is cp1252 as it
// stands, byte for byte.
enum class TDataEncoding { Cp1252, Utf8, Utf8WithBom };

TDataEncoding DataEncodingOf(std::string_view bytes);
// The file's text in cp1252.
std::string DataText(std::string_view bytes, TDataEncoding encoding);

class TCatalogue {
public:
    TCatalogue() = default;
    // The bytes as the program's text (cp1252).
    explicit TCatalogue(std::string bytes);

    // The whole file; EFOpenError "Datei %s kann nicht geöffnet werden" when it cannot be read.
    static TCatalogue LoadFromFile(const std::string& fileName);
    // Reads the file afresh into this object, reusing its buffer: a page built from the same
    // catalogue object again costs the read, not a new allocation of the whole file.
    void Load(const std::string& fileName);

    // The text in cp1252, whatever the file's encoding.
    const std::string& Bytes() const { return bytes_; }
    TDataEncoding Encoding() const { return encoding_; }
    // Number of lines and one line by index (counts the file once; meant for tests and tools).
    size_t LineCount() const;
    std::vector<std::string_view> Lines() const;

private:
    std::string bytes_;
    TDataEncoding encoding_ = TDataEncoding::Cp1252;
};

// The record of one program in daten.txt, values cut out as the program page uses them.
struct TProgramRecord {
    // Betriebssystem, Lizenz, Preis, Sprache, Anbieter, Homepage: record lines 1-5 from the 11th
    // character, line 6 from the 12th, each at most 255 characters, not trimmed.
    std::array<std::string, 6> Facts;
    std::string Screenshot;                // line 7 from the 12th character
    std::string Install;                   // line 8 trimmed, from its 12th character
    std::string Start;                     // line 9 from the 11th character
    std::string Features;                  // line 10 from the 11th character
    std::vector<std::string> Description;  // line 12 and on, unchanged
};

// The fact keys in the order of TProgramRecord::Facts.
inline constexpr std::array<std::string_view, 6> kFactKeys = {"Betriebssystem", "Lizenz",   "Preis",
                                                              "Sprache",        "Anbieter", "Homepage"};

// The line from the given 1-based character on, at most maxLength characters; empty when shorter.
std::string_view TextFrom(std::string_view line, size_t position, size_t maxLength = std::string_view::npos);

// The searchable value of a daten.txt line: a value-key line from its 11th character (at most 255),
// nothing for path and "Text:" lines, any other line whole.
std::string_view StripFieldKey(std::string_view line);

// progname.txt: the name of every line that contains "Kategorie" in any letter case (so also
// "Unterkategorie:..."), taken from its 11th character, in file
// order with duplicates kept.
std::vector<std::string> ReadCategoryList(const TCatalogue& progname);

// progname.txt: the program lines of a category, unchanged, in file order. Collecting starts after a
// line containing "Kategorie:" + category and stops at the first empty line.
std::vector<std::string> ReadCategoryPrograms(const TCatalogue& progname, std::string_view category);

// daten.txt: the record of a program. In a category, a record counts only after the line
// "Kategorie:" + category (both trimmed) and only once per such header; allCategories (search
// results) accepts every record. When several records match, the last one wins. A matching record
// that runs past the end of the file raises EStringListError with the first missing line's index.
std::optional<TProgramRecord> FindProgramRecord(const TCatalogue& daten, std::string_view program,
                                                std::string_view category, bool allCategories);
// The same, read from the file in pieces (the page reads daten.txt afresh each time).
std::optional<TProgramRecord> FindProgramRecordFile(const std::string& fileName, std::string_view program,
                                                    std::string_view category, bool allCategories,
                                                    size_t pieceSize = TCatalogueReader::kPiece);

// What the search looks at, one entry per line that starts with "Programm:  " (the records as
// SearchCatalogue divides the file), in file order: the name a hit lists (trimmed; entries without
// one are left out, as their hits are) and the StripFieldKey values of the record's lines that may
// hit, non-empty, without "Kategorie:" lines. A term hits a record exactly when it occurs in one of
// its values; the results are then sorted and thinned as SearchCatalogue does.
struct TSearchableRecord {
    std::string Name;
    std::vector<std::string> Values;
};
std::vector<TSearchableRecord> SearchableRecords(const TCatalogue& daten);

// SearchCatalogue's order of result names: sorted by the locale-aware comparison, of names that
// compare equal the first one kept.
std::vector<std::string> SortSearchResults(std::vector<std::string> found);

// daten.txt: the names of all programs with a line whose StripFieldKey value contains the term
// (exactly, or with only a-z folded to A-Z when matchCase is off). "Kategorie:" lines never count.
// Sorted by the locale-aware comparison, an entry comparing equal to an earlier one dropped.
std::vector<std::string> SearchCatalogue(const TCatalogue& daten, std::string_view term, bool matchCase);
// The same, read from the file in pieces.
std::vector<std::string> SearchCatalogueFile(const std::string& fileName, std::string_view term,
                                             bool matchCase, size_t pieceSize = TCatalogueReader::kPiece);

// daten.txt: up to max of the screenshot, installer and start paths written in the given bytes (the
// head of the file is enough), each without its drive ("Programme\A\x.zip"), in file order. They
// tell which folder the catalogue takes for the disc's root.
std::vector<std::string> SampleStoredPaths(std::string_view bytes, size_t max);
