// Menue.dat writer -> reader round trip: every field and blob the writer puts into the file, the
// reader gives back equal (text fields up to their first zero byte); the folder form (menu.txt)
// that `menudat extract` writes parses back to the same fields.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/MenuResource.h"
#include "base/Exceptions.h"
#include "tests/fuzz/FuzzInput.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/menudat/MenuFolder.h"

namespace {

std::string Bytes(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

std::string UpToZero(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

// A logo the writer can write: small, of any depth and header kind the writer knows.
std::string Logo(TFuzzInput& in) {
    static const int kBits[] = {1, 4, 8, 24, 32};
    static const int kHeaders[] = {40, 108, 124, 12};
    TBmpSpec spec;
    spec.Width = 1 + int(in.Below(9));
    spec.Height = 1 + int(in.Below(9));
    spec.BitCount = kBits[in.Below(5)];
    spec.InfoHeaderSize = kHeaders[in.Below(4)];
    spec.TopDown = spec.InfoHeaderSize != 12 && in.Flag();
    if (spec.BitCount <= 8) {
        spec.Palette.resize(1 + in.Below(size_t(1) << spec.BitCount));
        for (uint32_t& c : spec.Palette) c = in.Word() * 0x10001u & 0xFFFFFF;
    }
    spec.Pixels.resize(size_t(spec.Width) * size_t(spec.Height));
    for (uint32_t& p : spec.Pixels)
        p = spec.BitCount <= 8 ? uint32_t(in.Byte()) % spec.Palette.size() : uint32_t(in.Word()) * 0x10101u;
    return TBmpWriter::Write(spec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFuzzInput in(data, size);
    TMenuDatWriter w;
    w.ProjectField = in.Text(100);
    for (auto& c : w.Credits) c = in.Text(150);
    for (auto& t : w.BannerTargets) t = in.Text(254);
    for (auto& s : w.Sounds) s = in.Text(64);
    for (auto& g : w.Gifs)
        if (in.Flag()) g = (in.Flag() ? "GIF87a" : "GIF89a") + in.Text(64);
    if (in.Flag()) w.Reserved = std::to_string(in.Word());
    try {
        w.Logo = Logo(in);
    } catch (const std::invalid_argument&) {
        return 0;  // a picture the writer does not make
    }
    const std::string file = w.Build();

    TMenuResource menu;
    try {
        menu = ReadMenuResource(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    } catch (const base::Exception&) {
        __builtin_trap();  // what the writer writes, the reader must read
    }
    const TMenuHeader& h = menu.Header;
    if (UpToZero(h.ProjectField) != UpToZero(w.ProjectField) ||
        h.ProjectField.size() != MenuDat::kProjectLength)
        __builtin_trap();
    if (h.ProjectId != ParseProjectId(w.ProjectField)) __builtin_trap();
    for (size_t i = 0; i < 3; ++i) {
        if (h.Credits[i] != UpToZero(w.Credits[i])) __builtin_trap();
        if (UpToZero(h.BannerTargets[i]) != UpToZero(w.BannerTargets[i])) __builtin_trap();
        if (Bytes(menu.Banners[i]) != w.Gifs[i]) __builtin_trap();
        if (h.Sizes[MenuDat::kGifSize + i] != int32_t(w.Gifs[i].size())) __builtin_trap();
    }
    for (size_t i = 0; i < 7; ++i) {
        if (Bytes(menu.SoundSlots[i]) != w.Sounds[i]) __builtin_trap();
        if (h.Sizes[MenuDat::kSoundSize + i] != int32_t(w.Sounds[i].size())) __builtin_trap();
    }
    if (Bytes(menu.Logo) != w.Logo || !menu.LogoBitmap) __builtin_trap();

    // The folder form: what extract writes, pack reads back.
    TMenuFolder folder;
    folder.ProjectField = UpToZero(h.ProjectField);
    for (size_t i = 0; i < 3; ++i) {
        folder.Credits[i] = h.Credits[i];
        folder.BannerTargets[i] = UpToZero(h.BannerTargets[i]);
    }
    folder.Reserved = UpToZero(h.SizeFields[MenuDat::kReservedSize]);
    TMenuFolder back;
    try {
        back = TMenuFolder::Parse(folder.Format());
    } catch (const std::runtime_error&) {
        // Refused only for what pack must refuse: no first banner.
        if (!folder.BannerTargets[0].empty() && folder.BannerTargets[0] != "---") __builtin_trap();
        return 0;
    }
    if (back.ProjectField != folder.ProjectField || back.Credits != folder.Credits ||
        back.BannerTargets != folder.BannerTargets || back.Reserved != folder.Reserved)
        __builtin_trap();
    return 0;
}
