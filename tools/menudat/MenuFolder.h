#pragma once
// The folder form of Menue.dat that `menudat pack` reads and `menudat extract` writes:
//
//   menu.txt      UTF-8 text, one "key = value" per line, "#" starts a comment line
//   logo.bmp      the logo (uncompressed BMP)
//   sound0.wav .. sound6.wav   the seven sound slots (RIFF WAVE)
//   banner1.gif .. banner3.gif the three banners (GIF)
//
// Keys of menu.txt:
//   project        the project id used in the banner links (written before "~~~")
//   project-rest   optional text after "~~~" (ignored by the menu)
//   project-field  instead of the two above: the whole field as it is (for ids without "~~~")
//   credit1..3     the info page's credits (at most 150 characters)
//   banner1..3     banner targets without redirect (at most 254 characters); "---" = no banner;
//                  banners 2 and 3 default to "---"
//   logo, sound0..sound6, banner1-file..banner3-file   other file names than the defaults
//   reserved       text of the reserved size field (default "0")
// A value in double quotes keeps its blanks; "\\" and "\xNN" escape a backslash and any byte.
#include <array>
#include <filesystem>
#include <string>

struct TMenuFolder {
    std::string ProjectField;  // cp1252, the whole field text
    std::array<std::string, 3> Credits;
    std::array<std::string, 3> BannerTargets;
    std::string Reserved = "0";
    std::string LogoFile = "logo.bmp";
    std::array<std::string, 7> SoundFiles;
    std::array<std::string, 3> GifFiles;

    TMenuFolder();
    // Parses menu.txt text (UTF-8). Throws std::runtime_error "line N: ..." for bad lines.
    static TMenuFolder Parse(const std::string& text);
    // menu.txt for these fields.
    std::string Format() const;
};

// Escaping of one value for menu.txt (cp1252 in, UTF-8 out) and back.
std::string QuoteValue(const std::string& cp1252);
std::string UnquoteValue(const std::string& utf8);  // throws std::runtime_error

std::string ReadFileBytes(const std::filesystem::path& path);  // throws std::runtime_error
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
