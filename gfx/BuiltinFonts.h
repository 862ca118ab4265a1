#pragma once
// Faces compiled into the program: the ones its windows use, generated at build time from the same
// files as the fonts folder beside it, so that a menu started from a slow disc makes its windows and
// draws its first page without opening a font file. A program built without them finds every face
// in the folders or the system. The generated ones hold only the glyphs of code page 1252 and are
// stored deflated (cmake/embed_fonts.py): from a disc, every byte of the program touched is read.
#include <cstddef>
#include <span>

namespace gfx {

struct TBuiltinFontFile {
    const char* Name;  // the file name it was made from, e.g. "LiberationSans-Regular.ttf"
    const unsigned char* Data;
    size_t Size;
    size_t UnpackedSize = 0;  // 0: Data is the face itself; else Data is its zlib stream
};

std::span<const TBuiltinFontFile> BuiltinFonts();
// Called by the generated source (the table must live as long as the program), and by tests.
void RegisterBuiltinFonts(std::span<const TBuiltinFontFile> files);
// The face's bytes: inflated on first use and kept for the program's life (FreeType reads them
// while the face is open); empty if a packed face does not inflate to its size.
std::span<const unsigned char> BuiltinFontBytes(const TBuiltinFontFile& file);

}  // namespace gfx
