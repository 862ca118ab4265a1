#include "tools/menudat/MenuFolder.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "base/Cp1252.h"
#include "base/StrUtils.h"

namespace {

std::string TrimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

TMenuFolder::TMenuFolder() {
    for (size_t i = 0; i < 7; ++i) SoundFiles[i] = "sound" + std::to_string(i) + ".wav";
    for (size_t i = 0; i < 3; ++i) GifFiles[i] = "banner" + std::to_string(i + 1) + ".gif";
    BannerTargets[1] = BannerTargets[2] = "---";
}

std::string QuoteValue(const std::string& cp1252) {
    std::string body;
    for (unsigned char c : cp1252) {
        if (c == '\\') {
            body += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", c);
            body += esc;
        } else {
            body += static_cast<char>(c);
        }
    }
    std::string utf8 = base::Cp1252ToUtf8(body);
    const bool quote = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ' || utf8.front() == '"');
    return quote ? "\"" + utf8 + "\"" : utf8;
}

std::string UnquoteValue(const std::string& utf8) {
    std::string v = utf8;
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    // Every character must exist in cp1252: the menu shows nothing else.
    std::string cp = base::Utf8ToCp1252(v);
    if (base::Cp1252ToUtf8(cp) != v) throw std::runtime_error("a character that the menu's code page lacks");
    std::string out;
    for (size_t i = 0; i < cp.size(); ++i) {
        if (cp[i] != '\\') {
            out += cp[i];
        } else if (i + 1 < cp.size() && cp[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (i + 3 < cp.size() && cp[i + 1] == 'x' &&
                   std::isxdigit(static_cast<unsigned char>(cp[i + 2])) &&
                   std::isxdigit(static_cast<unsigned char>(cp[i + 3]))) {
            out += static_cast<char>(std::stoi(cp.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            throw std::runtime_error("a backslash that is neither \\\\ nor \\xNN");
        }
    }
    return out;
}

TMenuFolder TMenuFolder::Parse(const std::string& text) {
    TMenuFolder f;
    std::map<std::string, std::string> seen;
    std::istringstream in(text);
    std::string line;
    std::optional<std::string> project, rest, field;
    // Messages on the way out and a few short keys per line: the temporaries do not matter.
    // NOLINTBEGIN(performance-inefficient-string-concatenation)
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const size_t eq = trimmed.find('=');
        const std::string where = "menu.txt line " + std::to_string(number) + ": ";
        if (eq == std::string::npos) throw std::runtime_error(where + "expected \"key = value\"");
        const std::string key = TrimBlanks(trimmed.substr(0, eq));
        std::string value;
        try {
            value = UnquoteValue(TrimBlanks(trimmed.substr(eq + 1)));
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(where + e.what());
        }
        if (!seen.emplace(key, value).second) throw std::runtime_error(where + "\"" + key + "\" given twice");

        auto indexed = [&](const std::string& stem, size_t first, size_t count,
                           const std::string& suffix = "") -> int {
            for (size_t i = 0; i < count; ++i)
                if (key == stem + std::to_string(first + i) + suffix) return static_cast<int>(i);
            return -1;
        };
        if (key == "project") {
            project = value;
        } else if (key == "project-rest") {
            rest = value;
        } else if (key == "project-field") {
            field = value;
        } else if (key == "reserved") {
            f.Reserved = value;
        } else if (key == "logo") {
            f.LogoFile = value;
        } else if (int i = indexed("credit", 1, 3); i >= 0) {
            f.Credits[size_t(i)] = value;
        } else if (int i = indexed("banner", 1, 3, "-file"); i >= 0) {
            f.GifFiles[size_t(i)] = value;
        } else if (int i = indexed("banner", 1, 3); i >= 0) {
            f.BannerTargets[size_t(i)] = value;
        } else if (int i = indexed("sound", 0, 7); i >= 0) {
            f.SoundFiles[size_t(i)] = value;
        } else {
            throw std::runtime_error(where + "unknown key \"" + key + "\"");
        }
    }
    // NOLINTEND(performance-inefficient-string-concatenation)
    if (field && (project || rest))
        throw std::runtime_error("menu.txt: project-field excludes project and project-rest");
    if (field)
        f.ProjectField = *field;
    else if (project)
        f.ProjectField = *project + "~~~" + rest.value_or("");
    else
        throw std::runtime_error("menu.txt: the project id is missing (project = ...)");
    if (f.BannerTargets[0].empty() || f.BannerTargets[0] == "---")
        throw std::runtime_error("menu.txt: banner1 needs a target; the first banner is always shown");
    return f;
}

std::string TMenuFolder::Format() const {
    std::string out = "# Menue.dat sources (menudat pack DIR OUT)\n";
    const size_t marker = ProjectField.find("~~~");
    if (marker == std::string::npos) {
        out += "project-field = " + QuoteValue(ProjectField) + "\n";
    } else {
        out += "project = " + QuoteValue(ProjectField.substr(0, marker)) + "\n";
        if (marker + 3 < ProjectField.size())
            out += "project-rest = " + QuoteValue(ProjectField.substr(marker + 3)) + "\n";
    }
    for (size_t i = 0; i < 3; ++i)
        out += "credit" + std::to_string(i + 1) + " = " + QuoteValue(Credits[i]) + "\n";
    for (size_t i = 0; i < 3; ++i)
        out += "banner" + std::to_string(i + 1) + " = " + QuoteValue(BannerTargets[i]) + "\n";
    if (Reserved != "0") out += "reserved = " + QuoteValue(Reserved) + "\n";
    const TMenuFolder defaults;
    if (LogoFile != defaults.LogoFile) out += "logo = " + QuoteValue(LogoFile) + "\n";
    for (size_t i = 0; i < 7; ++i)
        if (SoundFiles[i] != defaults.SoundFiles[i])
            out += "sound" + std::to_string(i) + " = " + QuoteValue(SoundFiles[i]) + "\n";
    for (size_t i = 0; i < 3; ++i)
        if (GifFiles[i] != defaults.GifFiles[i])
            out += "banner" + std::to_string(i + 1) + "-file = " + QuoteValue(GifFiles[i]) + "\n";
    return out;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot be opened");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw std::runtime_error(path.string() + ": cannot be read");
    return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(path.string() + ": cannot be written");
}
