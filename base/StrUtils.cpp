#include "base/StrUtils.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/Exceptions.h"

namespace base {

std::string TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return r;
}

namespace {
unsigned char AnsiUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 16;  // š œ ž
    if (c == 0xFF) return 0x9F;                              // ÿ
    return c;
}
unsigned char AnsiLower(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
    if (c == 0x9F) return 0xFF;
    return c;
}
}  // namespace

std::string AnsiUpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = char(AnsiUpper(static_cast<unsigned char>(c)));
    return r;
}

std::string AnsiLowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = char(AnsiLower(static_cast<unsigned char>(c)));
    return r;
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

bool TryStrToInt(std::string_view s, int& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        // Hex may use the full 32 bits (as $FFFFFFFF = -1); decimal must fit an int.
        if (v > (base == 16 ? int64_t(0xFFFFFFFF) : int64_t(2147483648LL))) return false;
    }
    if (base == 16) {
        // Negated in 32 bits: -$80000000 wraps to itself instead of overflowing.
        const uint32_t u = uint32_t(v);
        value = int32_t(neg ? 0u - u : u);
        return true;
    }
    if (neg) v = -v;
    if (v > 2147483647LL) return false;
    value = int(v);
    return true;
}

int StrToInt(std::string_view s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError::NotAnInteger(s);
    return v;
}

int StrToIntDef(std::string_view s, int fallback) {
    int v = 0;
    return TryStrToInt(s, v) ? v : fallback;
}

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        out.resize(size_t(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(size_t(n));
    }
    va_end(ap2);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x -= 32;
        if (y >= 'a' && y <= 'z') y -= 32;
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

namespace {
// Primary weights: control < punctuation < digits < letters. Letters get 'A'..'Z' folded to one
// weight each; accents land in the secondary weight.
struct Weight {
    unsigned short primary;
    unsigned char secondary;
};

constexpr unsigned short kLetterBase = 0x400;
constexpr unsigned short kDigitBase = 0x300;
constexpr unsigned short kSymbolBase = 0x100;

// Expands one cp1252 byte into up to two weights; returns how many.
constexpr int Weights(unsigned char c, Weight out[2]) {
    auto letter = [](char base) { return static_cast<unsigned short>(kLetterBase + (base - 'A')); };
    if (c >= 'a' && c <= 'z') c -= 32;
    if (c >= 'A' && c <= 'Z') {
        out[0] = {letter(char(c)), 0};
        return 1;
    }
    if (c >= '0' && c <= '9') {
        out[0] = {static_cast<unsigned short>(kDigitBase + (c - '0')), 0};
        return 1;
    }
    const char* fold = nullptr;
    unsigned char accent = 1;
    switch (c) {
        case 0xC0:
        case 0xE0:
            fold = "A";
            accent = 2;
            break;
        case 0xC1:
        case 0xE1:
            fold = "A";
            accent = 1;
            break;
        case 0xC2:
        case 0xE2:
            fold = "A";
            accent = 3;
            break;
        case 0xC3:
        case 0xE3:
            fold = "A";
            accent = 5;
            break;
        case 0xC4:
        case 0xE4:
            fold = "A";
            accent = 4;
            break;
        case 0xC5:
        case 0xE5:
            fold = "A";
            accent = 6;
            break;
        case 0xC6:
        case 0xE6:
            fold = "AE";
            accent = 7;
            break;
        case 0xC7:
        case 0xE7:
            fold = "C";
            break;
        case 0xC8:
        case 0xE8:
            fold = "E";
            accent = 2;
            break;
        case 0xC9:
        case 0xE9:
            fold = "E";
            accent = 1;
            break;
        case 0xCA:
        case 0xEA:
            fold = "E";
            accent = 3;
            break;
        case 0xCB:
        case 0xEB:
            fold = "E";
            accent = 4;
            break;
        case 0xCC:
        case 0xEC:
            fold = "I";
            accent = 2;
            break;
        case 0xCD:
        case 0xED:
            fold = "I";
            accent = 1;
            break;
        case 0xCE:
        case 0xEE:
            fold = "I";
            accent = 3;
            break;
        case 0xCF:
        case 0xEF:
            fold = "I";
            accent = 4;
            break;
        case 0xD0:
        case 0xF0:
            fold = "D";
            break;
        case 0xD1:
        case 0xF1:
            fold = "N";
            break;
        case 0xD2:
        case 0xF2:
            fold = "O";
            accent = 2;
            break;
        case 0xD3:
        case 0xF3:
            fold = "O";
            accent = 1;
            break;
        case 0xD4:
        case 0xF4:
            fold = "O";
            accent = 3;
            break;
        case 0xD5:
        case 0xF5:
            fold = "O";
            accent = 5;
            break;
        case 0xD6:
        case 0xF6:
            fold = "O";
            accent = 4;
            break;
        case 0xD8:
        case 0xF8:
            fold = "O";
            accent = 6;
            break;
        case 0xD9:
        case 0xF9:
            fold = "U";
            accent = 2;
            break;
        case 0xDA:
        case 0xFA:
            fold = "U";
            accent = 1;
            break;
        case 0xDB:
        case 0xFB:
            fold = "U";
            accent = 3;
            break;
        case 0xDC:
        case 0xFC:
            fold = "U";
            accent = 4;
            break;
        case 0xDD:
        case 0xFD:
        case 0xFF:
        case 0x9F:
            fold = "Y";
            break;
        case 0xDE:
        case 0xFE:
            fold = "TH";
            accent = 7;
            break;
        case 0xDF:
            fold = "SS";
            accent = 7;
            break;
        case 0x8A:
        case 0x9A:
            fold = "S";
            accent = 8;
            break;
        case 0x8E:
        case 0x9E:
            fold = "Z";
            accent = 8;
            break;
        case 0x8C:
        case 0x9C:
            fold = "OE";
            accent = 7;
            break;
        case 0x83:
            fold = "F";
            break;
        default:
            break;
    }
    if (fold) {
        int n = 0;
        for (; fold[n]; ++n) out[n] = {letter(fold[n]), accent};
        return n;
    }
    out[0] = {static_cast<unsigned short>(c < 0x20 ? c : kSymbolBase + c), 0};
    return 1;
}

// The weights of every byte, expanded once: comparisons then cost no allocation and no branch per
// character (a search sorts tens of thousands of names). Made by the compiler: a table filled at
// start-up would bring its code in from the disc before the first frame.
struct WeightTable {
    Weight w[256][2]{};
    unsigned char n[256]{};
    constexpr WeightTable() {
        for (int c = 0; c < 256; ++c)
            n[c] = static_cast<unsigned char>(Weights(static_cast<unsigned char>(c), w[c]));
    }
};
constexpr WeightTable kWeights;

// The weights of a text one after the other.
class WeightStream {
public:
    explicit WeightStream(std::string_view s) : s_(s) {}
    bool Next(Weight& out) {
        if (k_ == n_) {
            if (i_ == s_.size()) return false;
            c_ = static_cast<unsigned char>(s_[i_++]);
            n_ = kWeights.n[c_];
            k_ = 0;
        }
        out = kWeights.w[c_][k_++];
        return true;
    }

private:
    std::string_view s_;
    size_t i_ = 0;
    unsigned char c_ = 0, n_ = 0, k_ = 0;
};
}  // namespace

// Primary weights first; of two texts whose primaries agree as far as the shorter goes, the shorter
// comes first; only then the secondary weights (accents) decide.
int AnsiCompareText(std::string_view a, std::string_view b) {
    Weight wa{}, wb{};
    for (WeightStream x(a), y(b);;) {
        const bool ha = x.Next(wa), hb = y.Next(wb);
        if (!ha || !hb) {
            if (ha != hb) return ha ? 1 : -1;
            break;
        }
        if (wa.primary != wb.primary) return wa.primary < wb.primary ? -1 : 1;
    }
    for (WeightStream x(a), y(b); x.Next(wa) && y.Next(wb);)
        if (wa.secondary != wb.secondary) return wa.secondary < wb.secondary ? -1 : 1;
    return 0;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    return AnsiCompareText(a, b) == 0;
}

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to, bool all) {
    if (from.empty()) return std::string(s);
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
        if (!all) break;
    }
    out.append(s.substr(pos));
    return out;
}

bool StartsText(std::string_view prefix, std::string_view s) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view s) {
    return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

}  // namespace base
