#include "gfx/BuiltinFonts.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "gfx/Inflate.h"

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

std::span<const unsigned char> BuiltinFontBytes(const TBuiltinFontFile& file) {
    if (!file.UnpackedSize) return {file.Data, file.Size};
    static std::mutex mutex;
    static std::map<const unsigned char*, std::unique_ptr<std::vector<unsigned char>>> unpacked;
    std::lock_guard lock(mutex);
    std::unique_ptr<std::vector<unsigned char>>& bytes = unpacked[file.Data];
    if (!bytes)
        bytes =
            std::make_unique<std::vector<unsigned char>>(Inflate({file.Data, file.Size}, file.UnpackedSize));
    return *bytes;
}

}  // namespace gfx
