#pragma once
// Reading a script line for TScriptRunner: its words, numbers, keys and answers.
#include <string>
#include <string_view>
#include <vector>

#include "gui/Keys.h"

namespace script {

// Splits at runs of blanks.
std::vector<std::string> Words(std::string_view s);
// The text after the first `words` words (and the blanks after them).
std::string RestAfter(std::string_view s, size_t words);
// A whole decimal number with an optional sign.
bool ParseInt(const std::string& s, long long& value);
// "Ctrl+Shift+F": the key and its modifiers; 0 for an unknown key or modifier.
int KeyWithModifiers(const std::string& text, gui::TShiftState& shift);
// OK, Cancel, Yes, No (or the German words) as a dialog result; 0 for anything else.
int AnswerCode(const std::string& name);
// What the script shows of a cp1252 text.
std::string Show(std::string_view cp1252);

}  // namespace script
