#include "gfx/BuiltinFonts.h"

namespace gfx {

namespace {

std::span<const TBuiltinFontFile>& Table() {
    // A function-local table: the generated source registers from a static initialiser.
    static std::span<const TBuiltinFontFile> table;
    return table;
}

}  // namespace

std::span<const TBuiltinFontFile> BuiltinFonts() {
    return Table();
}

void RegisterBuiltinFonts(std::span<const TBuiltinFontFile> files) {
    Table() = files;
}

}  // namespace gfx
