#pragma once
// OEM (DOS) code page 437 or 850 to ANSI code page 1252, character by character, as names and
// comments of archives made on FAT or HPFS need.

#include <string>
#include <string_view>

// Bytes below 0x80 stay; the others go through the table of oemCodePage (437, else 850). A
// character that 1252 lacks (box drawing, shades) becomes the nearest ASCII look-alike.
std::string OemToAnsi(std::string_view text, int oemCodePage = 850);
