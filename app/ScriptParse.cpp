#include "app/ScriptParse.h"

#include <cctype>
#include <sstream>

#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "gui/Consts.h"
#include "gui/Keys.h"

namespace script {

namespace {

int KeyCode(const std::string& name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"Enter", gui::VK_RETURN},   {"Return", gui::VK_RETURN}, {"Escape", gui::VK_ESCAPE},
        {"Esc", gui::VK_ESCAPE},     {"Tab", gui::VK_TAB},       {"Space", gui::VK_SPACE},
        {"Backspace", gui::VK_BACK}, {"Delete", gui::VK_DELETE}, {"Up", gui::VK_UP},
        {"Down", gui::VK_DOWN},      {"Left", gui::VK_LEFT},     {"Right", gui::VK_RIGHT},
        {"PageUp", gui::VK_PRIOR},   {"PageDown", gui::VK_NEXT}, {"Home", gui::VK_HOME},
        {"End", gui::VK_END},
    };
    for (const auto& [n, code] : kKeys)
        if (base::SameText(name, n)) return code;
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        long long n = 0;
        if (ParseInt(name.substr(1), n) && n >= 1 && n <= 12 &&
            std::isdigit(static_cast<unsigned char>(name[1])))
            return gui::VK_F1 + int(n) - 1;
    }
    if (name.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(name[0]);
        if (std::isalpha(c)) return std::toupper(c);
        if (std::isdigit(c)) return c;
    }
    return 0;
}

}  // namespace

// Splits at runs of blanks.
std::vector<std::string> Words(std::string_view s) {
    std::vector<std::string> out;
    std::istringstream in{std::string(s)};
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The text after the first word (and the blanks after it).
std::string RestAfter(std::string_view s, size_t words) {
    size_t i = 0;
    for (size_t n = 0; n < words; ++n) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    }
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return std::string(s.substr(i));
}

bool ParseInt(const std::string& s, long long& value) {
    if (s.empty()) return false;
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    try {
        value = std::stoll(s);
    } catch (...) {
        return false;
    }
    return true;
}

// "Ctrl+Shift+F": the key and its modifiers; 0 for an unknown key or modifier.
int KeyWithModifiers(const std::string& text, gui::TShiftState& shift) {
    shift = 0;
    size_t start = 0;
    for (size_t plus; (plus = text.find('+', start)) != std::string::npos && plus + 1 < text.size();
         start = plus + 1) {
        const std::string mod = text.substr(start, plus - start);
        if (base::SameText(mod, "Ctrl") || base::SameText(mod, "Strg"))
            shift |= gui::ssCtrl;
        else if (base::SameText(mod, "Shift"))
            shift |= gui::ssShift;
        else if (base::SameText(mod, "Alt"))
            shift |= gui::ssAlt;
        else
            return 0;
    }
    return KeyCode(text.substr(start));
}

int AnswerCode(const std::string& name) {
    if (base::SameText(name, "OK")) return gui::IDOK;
    if (base::SameText(name, "Cancel") || base::SameText(name, "Abbrechen")) return gui::IDCANCEL;
    if (base::SameText(name, "Yes") || base::SameText(name, "Ja")) return gui::IDYES;
    if (base::SameText(name, "No") || base::SameText(name, "Nein")) return gui::IDNO;
    return 0;
}

// What the script shows of a cp1252 text.
std::string Show(std::string_view cp1252) {
    return "\"" + base::Cp1252ToUtf8(cp1252) + "\"";
}

}  // namespace script
