#include "app/BuiltinSkin.h"

#include "gfx/Inflate.h"

namespace {

std::span<const TBuiltinSkinFile>& Table() {
    // A function-local table: the generated source registers from a static initialiser.
    static std::span<const TBuiltinSkinFile> table;
    return table;
}

}  // namespace

std::span<const TBuiltinSkinFile> BuiltinSkin() {
    return Table();
}

const TBuiltinSkinFile* FindBuiltinSkinFile(std::string_view name) {
    for (const TBuiltinSkinFile& f : Table())
        if (name == f.Name) return &f;
    return nullptr;
}

std::vector<unsigned char> BuiltinSkinFileBytes(const TBuiltinSkinFile& file) {
    if (file.UnpackedSize) return gfx::Inflate({file.Data, file.Size}, file.UnpackedSize);
    return {file.Data, file.Data + file.Size};
}

void RegisterBuiltinSkin(std::span<const TBuiltinSkinFile> files) {
    Table() = files;
}
