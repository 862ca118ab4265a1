#pragma once
// Faces compiled into the program: the ones its windows use, generated at build time from the same
// files as the fonts folder beside it, so that a menu started from a slow disc makes its windows and
// draws its first page without opening a font file. A program built without them finds every face
// in the folders or the system.
#include <cstddef>
#include <span>

namespace gfx {

struct TBuiltinFontFile {
    const char* Name;  // the file name it was made from, e.g. "LiberationSans-Regular.ttf"
    const unsigned char* Data;
    size_t Size;
};

std::span<const TBuiltinFontFile> BuiltinFonts();
// Called by the generated source (the table must live as long as the program), and by tests.
void RegisterBuiltinFonts(std::span<const TBuiltinFontFile> files);

}  // namespace gfx
