#include "tools/discweb/Html.h"

#include <cstdio>

#include "base/Cp1252.h"

namespace web {

namespace {

bool Shows(char32_t c) {
    return !(c < 0x20 && c != '\t' && c != '\n') && !(c >= 0x7F && c < 0xA0);
}

// The characters that would read as markup, escaped; false for any other character.
bool AppendMarkup(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return true;
        case '<':
            out += "&lt;";
            return true;
        case '>':
            out += "&gt;";
            return true;
        case '"':
            out += "&quot;";
            return true;
        case '\'':
            out += "&#39;";
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string Text(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + 16);
    for (unsigned char c : cp1252) {
        if (AppendMarkup(out, char(c))) continue;
        const char32_t u = base::Cp1252ToUnicode(c);
        base::AppendUtf8(out, Shows(u) ? u : char32_t(0xFFFD));
    }
    return out;
}

namespace {

// A JavaScript string of the characters code(c) of the bytes; quotes, backslashes, "<" and the
// characters a script file should not hold raw are escaped.
template <class Code>
std::string JsonOf(std::string_view cp1252, Code code) {
    std::string out = "\"";
    for (unsigned char c : cp1252) {
        const char32_t u = code(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || c == '<') {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(u));
            out += buf;
        } else {
            base::AppendUtf8(out, u);
        }
    }
    out += '"';
    return out;
}

}  // namespace

std::string JsonString(std::string_view cp1252) {
    return JsonOf(cp1252, [](unsigned char c) { return base::Cp1252ToUnicode(c); });
}

std::string JsonBytes(std::string_view cp1252) {
    return JsonOf(cp1252, [](unsigned char c) { return char32_t(c); });
}

std::string UrlPath(std::string_view utf8Path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8Path) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (keep) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace web
