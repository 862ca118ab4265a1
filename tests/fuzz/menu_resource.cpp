// Menue.dat reader on arbitrary bytes. The first byte chooses between the bytes as a whole file and
// the bytes laid over a valid file from the size fields on (so that the logo, the blob sizes and the
// signatures are reached with a valid header in front).
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/MenuResource.h"
#include "base/Exceptions.h"
#include "tests/fuzz/TinyLogo.h"
#include "tools/common/MenuDatWriter.h"

namespace {

const std::string& Template() {
    static const std::string file = [] {
        TMenuDatWriter w;
        w.ProjectField = "FUZZ~~~";
        w.BannerTargets = {"a", "b", "---"};
        w.Logo = TinyLogo();
        // Cut after the size byte: the kept inputs were found against this template.
        for (size_t i = 0; i < 7; ++i) w.Sounds[i] = "RIFF\x04";
        for (size_t i = 0; i < 3; ++i) w.Gifs[i] = "GIF89a;";
        return w.Build();
    }();
    return file;
}

void Check(const uint8_t* data, size_t size) {
    try {
        TMenuResource menu = ReadMenuResource(data, size);
        // What was read lies inside the file.
        size_t total = MenuDat::kHeaderLength + menu.Logo.size();
        for (const auto& s : menu.SoundSlots) total += s.size();
        for (const auto& b : menu.Banners) total += b.size();
        if (total > size) __builtin_trap();
        for (int i = 0; i < 3; ++i) (void)menu.BannerUrl(i), (void)menu.BannerPresent(i);
    } catch (const base::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1) {
        Check(data + 1, size - 1);
        return 0;
    }
    std::string file = Template();
    const size_t at = MenuDat::kSizeFieldOffset;
    file.replace(at, std::min(size - 1, file.size() - at), reinterpret_cast<const char*>(data + 1), size - 1);
    Check(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    return 0;
}
