#include "tools/makedisc/CatalogueSource.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

const char* const kPackages[] = {"zip", "setup", "start", "setup+start", "zip+start", "keins"};

// The keys whose value a program takes as it stands, and where.
const std::pair<std::string_view, std::string ProgramSource::*> kTextFields[] = {
    {"System", &ProgramSource::Os},       {"Lizenz", &ProgramSource::Licence},
    {"Preis", &ProgramSource::Price},     {"Sprache", &ProgramSource::Language},
    {"Anbieter", &ProgramSource::Vendor}, {"Homepage", &ProgramSource::Homepage},
    {"Extras", &ProgramSource::Features},
};

// Substrings that the menu reads as keys in daten.txt or progname.txt; a description containing one
// would end early, lose its search value or be taken for a category.
const char* const kReserved[] = {
    "Programm:", "Prog_OS:",    "Lizenz:",  "Preis:",   "Sprache:", "Anbieter:",
    "Homepage:", "Screenshot:", "Install:", "Starten:", "Text:",    "Kategorie:"};

[[noreturn]] void Fail(int line, const std::string& why) {
    throw std::runtime_error("catalogue.txt:" + std::to_string(line) + ": " + why);
}

std::string Trim(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string_view::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return std::string(s.substr(a, b - a + 1));
}

// "Key: value" with a known key; returns false for other lines.
bool SplitKey(const std::string& line, std::string& key, std::string& value) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    key = line.substr(0, colon);
    for (char c : key)
        if (!std::isalpha(static_cast<unsigned char>(c))) return false;
    value = Trim(std::string_view(line).substr(colon + 1));
    return true;
}

void CheckText(const std::string& text, int line) {
    for (const char* word : kReserved)
        if (text.find(word) != std::string::npos)
            Fail(line, std::string("text contains the key \"") + word + "\"");
}

void Finish(ProgramSource& p, int line) {
    if (p.Package.empty()) Fail(line, "\"" + p.Name + "\" has no Paket");
    while (!p.Text.empty() && Trim(p.Text.back()).empty()) p.Text.pop_back();
    if (p.Text.empty()) Fail(line, "\"" + p.Name + "\" has no text");
}

}  // namespace

std::string FolderName(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        if (std::isalnum(c)) {
            out += static_cast<char>(c);
        } else if (c == 0xC3 && i + 1 < utf8.size()) {
            switch (static_cast<unsigned char>(utf8[++i])) {
                case 0xA4:
                    out += "ae";
                    break;
                case 0xB6:
                    out += "oe";
                    break;
                case 0xBC:
                    out += "ue";
                    break;
                case 0x84:
                    out += "Ae";
                    break;
                case 0x96:
                    out += "Oe";
                    break;
                case 0x9C:
                    out += "Ue";
                    break;
                case 0x9F:
                    out += "ss";
                    break;
                default:
                    break;
            }
        }
    }
    return out;
}

std::vector<CategorySource> ReadCatalogueSource(std::string_view utf8) {
    std::vector<CategorySource> categories;
    std::set<std::string> names, folders;
    ProgramSource* program = nullptr;
    bool inText = false;
    std::istringstream in{std::string(utf8)};
    std::string raw;
    int lineNo = 0, programLine = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string key, value;
        const bool keyed = SplitKey(raw, key, value);
        const bool startsEntry = keyed && (key == "Rubrik" || key == "Programm");
        if (inText && !startsEntry) {
            CheckText(raw, lineNo);
            program->Text.push_back(raw);
            continue;
        }
        if (startsEntry && program) Finish(*program, programLine), inText = false;
        if (Trim(raw).empty() || raw.starts_with("#")) continue;
        if (!keyed) Fail(lineNo, "expected \"Key: value\"");
        if (key == "Rubrik") {
            if (value.empty()) Fail(lineNo, "empty category name");
            for (const auto& c : categories)
                if (c.Name.starts_with(value) || value.starts_with(c.Name))
                    Fail(lineNo, "category names must not begin one another (the menu matches substrings)");
            categories.push_back({value, FolderName(value), {}});
            program = nullptr;
            continue;
        }
        if (categories.empty()) Fail(lineNo, "entry before the first \"Rubrik:\"");
        if (key == "Programm") {
            if (value.empty() || value.find("Kategorie") != std::string::npos)
                Fail(lineNo, "bad program name");
            if (!names.insert(value).second) Fail(lineNo, "program \"" + value + "\" appears twice");
            categories.back().Programs.push_back({});
            program = &categories.back().Programs.back();
            program->Name = value;
            program->Folder = FolderName(value);
            program->Line = programLine = lineNo;
            if (!folders.insert(categories.back().Folder + "/" + program->Folder).second)
                Fail(lineNo, "folder name clash");
            continue;
        }
        if (!program) Fail(lineNo, "\"" + key + "\" outside a program entry");
        const auto text = std::find_if(std::begin(kTextFields), std::end(kTextFields),
                                       [&](const auto& field) { return key == field.first; });
        if (text != std::end(kTextFields)) {
            program->*text->second = value;
        } else if (key == "Paket") {
            bool known = false;
            for (const char* p : kPackages) known |= value == p;
            if (!known) Fail(lineNo, "unknown Paket \"" + value + "\"");
            program->Package = value;
        } else if (key == "Bild") {
            if (value != "keins") {
                std::istringstream shot(value);
                char x = 0;
                if (!(shot >> program->ShotWidth >> x >> program->ShotHeight >> program->ShotKind) ||
                    x != 'x' || program->ShotWidth < 64 || program->ShotHeight < 64 ||
                    program->ShotWidth > 2048 || program->ShotHeight > 2048)
                    Fail(lineNo, "Bild must read \"WIDTHxHEIGHT kind\" or \"keins\"");
            }
        } else if (key == "Text") {
            inText = true;
        } else {
            Fail(lineNo, "unknown key \"" + key + "\"");
        }
    }
    if (program) Finish(*program, programLine);
    for (const auto& c : categories)
        if (c.Programs.empty()) Fail(lineNo, "category \"" + c.Name + "\" has no programs");
    return categories;
}
