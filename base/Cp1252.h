#pragma once
// Windows code page 1252, the program's one text encoding. UTF-8 appears only at the edges.
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

// Unicode code point of a cp1252 byte (the five unassigned bytes map to the C1 control of the same value).
char32_t Cp1252ToUnicode(unsigned char c);
// cp1252 byte of a code point, or -1 when cp1252 cannot represent it.
int UnicodeToCp1252(char32_t cp);

std::string Cp1252ToUtf8(std::string_view text);
// Appends the UTF-8 bytes of one code point.
void AppendUtf8(std::string& out, char32_t cp);
// Characters that cp1252 lacks and malformed UTF-8 bytes become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// Checks that bytes are UTF-8, fed piece by piece (a character may be split between two pieces).
// Overlong forms, surrogates and code points above U+10FFFF count as invalid.
class TUtf8Check {
public:
    // False from the first invalid byte on.
    bool Feed(std::string_view bytes);
    // Everything fed was UTF-8 and no character is left unfinished.
    bool Complete() const { return !bad_ && need_ == 0; }

private:
    char32_t cp_ = 0, min_ = 0;
    int need_ = 0;
    bool bad_ = false;
};

// For source literals with non-ASCII characters: Cp("Menü") is the cp1252 byte string.
inline std::string Cp(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

}  // namespace base
