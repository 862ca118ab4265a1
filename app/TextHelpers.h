#pragma once
// Caption helpers shared by the menu's pages: a label would take a single "&" as an accelerator mark.
#include <string>
#include <string_view>

// The text with its first "&" doubled; a text without "&" comes back unchanged.
std::string EscapeAmpersand(std::string_view text);
// The text with its first "&" removed.
std::string UnescapeAmpersand(std::string_view text);
