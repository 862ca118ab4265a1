#pragma once
// String helpers over cp1252 byte strings.
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

// Drop blanks and control characters (every byte <= ' ') at the ends.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// Only a-z / A-Z change; umlauts stay as they are.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Full cp1252 case mapping (ä <-> Ä, ...), for the places that want the locale's notion.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);

std::string IntToStr(int64_t value);
// Leading blanks, a sign and "$"/"0x" hex are accepted; anything else raises EConvertError
// "'%s' ist kein gültiger Integerwert".
int StrToInt(std::string_view s);
int StrToIntDef(std::string_view s, int fallback);
bool TryStrToInt(std::string_view s, int& value);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// ASCII case-insensitive comparison (a-z only).
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// The locale-aware comparison: case-insensitive, accented letters sort with their base letter
// (an accent only breaks ties), ß as "ss", punctuation before digits before letters.
// Returns <0, 0, >0.
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to, bool all = true);
bool StartsText(std::string_view prefix, std::string_view s);  // ASCII case-insensitive
bool EndsText(std::string_view suffix, std::string_view s);    // ASCII case-insensitive

}  // namespace base
