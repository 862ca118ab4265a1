#include "app/DiscLint.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/Catalogue.h"
#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "platform/NativePath.h"
#include "zip/ZipFront.h"
#include "zip/unpack32/SafePath.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(std::string_view cp1252) {
    return base::Cp1252ToUtf8(cp1252);
}

// The code point of one well-formed UTF-8 character.
char32_t CodePoint(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    char32_t cp = character.size() == 1 ? lead : lead & (0x7F >> character.size());
    for (size_t k = 1; k < character.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(character[k]) & 0x3F);
    return cp;
}

bool Contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

std::string ReadHead(const std::string& file, size_t n) {
    std::ifstream in(file, std::ios::binary);
    std::string head(n, '\0');
    in.read(head.data(), std::streamsize(n));
    head.resize(size_t(in.gcount()));
    return head;
}

// The number of volumes that the end record of the archive's last part names, 1 when none.
int VolumeCount(const std::string& nativeFile) {
    std::ifstream in(nativeFile, std::ios::binary | std::ios::ate);
    if (!in) return 1;
    const std::streamoff size = in.tellg();
    const std::streamoff tail = std::min<std::streamoff>(size, 65535 + 22);
    std::string bytes(size_t(tail), '\0');
    in.seekg(size - tail);
    in.read(bytes.data(), tail);
    for (size_t i = bytes.size() >= 22 ? bytes.size() - 22 + 1 : 0; i-- > 0;)
        if (bytes.compare(i, 4, "PK\x05\x06") == 0 && i + 6 <= bytes.size())
            return 1 + (uint8_t(bytes[i + 4]) | uint8_t(bytes[i + 5]) << 8);
    return 1;
}

// Volume n (from 0) of a split set beside its last part, named as the zip front-end looks for it:
// Info-ZIP's name.z01, or the base name's last three characters replaced by the number (SET001.ZIP).
bool VolumeExists(const fs::path& last, int n) {
    const std::string stem = last.stem().string();
    char numbered[16], infozip[16];
    std::snprintf(numbered, sizeof numbered, "%03d", (n + 1) % 1000);
    std::snprintf(infozip, sizeof infozip, ".z%02d", n + 1);
    const std::string wanted[] = {base::UpperCase(stem + infozip),
                                  base::UpperCase(stem.substr(0, stem.size() >= 3 ? stem.size() - 3 : 0) +
                                                  numbered + last.extension().string())};
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(last.parent_path(), ec)) {
        const std::string name = base::UpperCase(e.path().filename().string());
        if (name == wanted[0] || name == wanted[1]) return true;
    }
    return false;
}

}  // namespace

std::vector<TLintFinding> CheckCategoryHeaders(const TCatalogue& progname) {
    std::vector<TLintFinding> findings;
    const std::vector<std::string_view> lines = progname.Lines();
    const std::vector<std::string> categories = ReadCategoryList(progname);
    std::map<std::string, bool> reported;
    for (const std::string& category : categories) {
        if (reported.count(category)) continue;
        reported[category] = true;
        const std::string key = "Kategorie:" + category;
        for (std::string_view line : lines) {
            if (!Contains(line, key)) continue;
            const std::string other(TextFrom(line, 11));
            if (other == category) continue;
            findings.push_back({Utf8(category), "the header line \"" + Utf8(line) + "\" contains \"" +
                                                    Utf8(key) +
                                                    "\": this category's list also takes the programs of \"" +
                                                    Utf8(other) + "\"; rename one of them"});
        }
    }
    return findings;
}

std::vector<TLintFinding> CheckDuplicateRecords(const TCatalogue& daten) {
    std::vector<TLintFinding> findings;
    std::map<std::string, std::vector<size_t>> records;
    std::vector<std::string> order;
    const std::vector<std::string_view> lines = daten.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string trimmed = base::Trim(std::string(lines[i]));
        if (trimmed.rfind("Programm:", 0) != 0) continue;
        const std::string name = base::Trim(trimmed.substr(9));
        auto& at = records[name];
        if (at.empty()) order.push_back(name);
        at.push_back(i + 1);
    }
    for (const std::string& name : order) {
        const std::vector<size_t>& at = records[name];
        if (at.size() < 2) continue;
        std::string where;
        for (size_t line : at) where += (where.empty() ? "" : ", ") + std::to_string(line);
        findings.push_back(
            {"daten.txt", "\"" + Utf8(name) + "\" has " + std::to_string(at.size()) + " records (lines " +
                              where +
                              "): a search shows only the last; give each program a name of its own"});
    }
    return findings;
}

std::vector<TLintFinding> CheckCp1252Text(const std::string& fileName, std::string_view bytes) {
    std::vector<TLintFinding> findings;
    size_t line = 1;
    bool unassigned = false, zero = false;
    for (const char byte : bytes) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c == '\n') ++line;
        if (c == 0 && !zero) {
            zero = true;
            findings.push_back({fileName, "line " + std::to_string(line) +
                                              " holds a zero byte: this is no text file in Windows-1252"});
        }
        if ((c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) && !unassigned) {
            unassigned = true;
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", c);
            findings.push_back({fileName, "line " + std::to_string(line) + " holds the byte " + hex +
                                              ", which Windows-1252 does not assign: save the file as "
                                              "Windows-1252 (ANSI) text"});
        }
    }
    return findings;
}

std::vector<TLintFinding> CheckDataFileCharacters(const std::string& fileName, std::string_view bytes) {
    std::vector<TLintFinding> findings;
    const TDataEncoding encoding = DataEncodingOf(bytes);
    if (encoding == TDataEncoding::Cp1252) return findings;
    // The byte-order mark is no character of the text.
    if (encoding == TDataEncoding::Utf8WithBom) bytes.remove_prefix(3);
    int line = 1;
    std::string lost;  // of the current line, UTF-8
    auto endLine = [&] {
        if (!lost.empty())
            findings.push_back({fileName + " line " + std::to_string(line),
                                lost + ": no such character in Windows-1252; the menu shows \"?\""});
        lost.clear();
    };
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            endLine();
            ++line;
        }
        // The file is valid UTF-8: the lead byte tells the length.
        const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::string_view character = bytes.substr(i, length);
        if (const char32_t cp = CodePoint(character); base::UnicodeToCp1252(cp) < 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", unsigned(cp));
            lost += (lost.empty() ? "\"" : ", \"") + std::string(character) + "\" (" + code + ")";
        }
        i += length;
    }
    endLine();
    return findings;
}

std::vector<std::string> CheckInstallArchive(const std::string& appPath, const std::string& nativeFile) {
    std::vector<std::string> findings;
    const int volumes = VolumeCount(nativeFile);
    std::string missing;
    for (int n = 0; n + 1 < volumes; ++n)
        if (!VolumeExists(fs::path(nativeFile), n))
            missing += (missing.empty() ? "" : ", ") + std::to_string(n + 1);
    if (!missing.empty()) {
        findings.push_back("split archive of " + std::to_string(volumes) + " parts: part " + missing +
                           " is missing beside it");
        return findings;
    }
    TZipFront zip;
    zip.SetUnattended(true);
    zip.SetZipFilename(appPath);
    if (zip.ErrCode() != 0) {
        findings.push_back("the archive's directory cannot be read: " + Utf8(zip.Message()));
        return findings;
    }
    std::vector<std::string> parts;
    for (const ZipDirEntry& e : zip.Contents()) {
        if (!unpack32::SplitEntryName(e.FileName, parts))
            findings.push_back("entry \"" + Utf8(e.FileName) +
                               "\" would leave the target folder; unpacking refuses it");
    }
    return findings;
}

std::string CheckExecutable(const std::string& nativeFile) {
    if (!platform::NativePath::ExecuteBitsMatter()) return {};
    std::error_code ec;
    const fs::file_status st = fs::status(nativeFile, ec);
    if (ec || !fs::is_regular_file(st)) return {};
    const std::string head = ReadHead(nativeFile, 4);
    const bool program = head.rfind("#!", 0) == 0 || head ==
                                                         "\x7f"
                                                         "ELF";
    if (!program || (st.permissions() & fs::perms::owner_exec) != fs::perms::none) return {};
    return "is a program without an execute bit: the menu would open it instead of running it (chmod +x)";
}
