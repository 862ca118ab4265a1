#pragma once
// Checks of a disc's data that the preview's report adds to what it finds by showing the pages:
// traps of the catalogue's substring rules, archives the unpack library would refuse, programs that
// cannot be started, and the menu resource file. Texts are UTF-8, one finding per line.
#include <string>
#include <string_view>
#include <vector>

class TCatalogue;

struct TLintFinding {
    std::string Where;  // a file, category or "category / program"; may be empty
    std::string What;
};

// progname.txt: a header line that contains "Kategorie:" + another category's name, so that the
// other category's list collects this block's programs too ("Spiele" and "Spiele 2").
std::vector<TLintFinding> CheckCategoryHeaders(const TCatalogue& progname);

// daten.txt: program names with more than one record; a search result shows only the last.
std::vector<TLintFinding> CheckDuplicateRecords(const TCatalogue& daten);

// A catalogue file's text (as the menu reads it) that is no Windows-1252: bytes that code page leaves
// unassigned, or zero bytes.
std::vector<TLintFinding> CheckCp1252Text(const std::string& fileName, std::string_view bytes);

// A data file (its bytes as they lie on the disc) read as UTF-8: the lines with characters that
// cp1252 lacks, which the menu shows as "?". Nothing for a cp1252 file.
std::vector<TLintFinding> CheckDataFileCharacters(const std::string& fileName, std::string_view bytes);

// A ZIP archive to be unpacked: its directory as the zip front-end reads it (damaged, warnings),
// the volumes of a split set, and entry names the unpack library refuses. appPath is the path in
// the menu's form, nativeFile the file on this disc.
std::vector<std::string> CheckInstallArchive(const std::string& appPath, const std::string& nativeFile);

// A start or installer file that is a program of this system (ELF or "#!" script) without an execute
// bit: the menu would hand it to the desktop's opener instead of running it. Empty when it is fine,
// and always on a system without execute bits.
std::string CheckExecutable(const std::string& nativeFile);
