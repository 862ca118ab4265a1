#include "app/MenuResourceCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <ostream>

#include "app/MenuResource.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "media/GIFDecoder.h"

namespace {

const char* const kSizeNames[11] = {"GIF 1",   "GIF 2",   "GIF 3",   "sound 0", "sound 1", "sound 2",
                                    "sound 3", "sound 4", "sound 5", "sound 6", "reserved"};

std::string Utf8(std::string_view cp1252) {
    return base::Cp1252ToUtf8(cp1252);
}

// A field for display: up to its first zero byte, with other control bytes shown as \xNN.
std::string Shown(std::string_view field) {
    std::string out;
    for (unsigned char c : FieldText(field)) {
        if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    std::string quoted(1, '"');
    quoted += Utf8(out);
    quoted += '"';
    return quoted;
}

bool IsWave(std::string_view b) {
    return b.size() >= 12 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WAVE";
}
}  // namespace

std::string BannerPictureFault(std::string_view blob) {
    if (blob.substr(0, 3) != "GIF") return "is no GIF picture (it does not start with \"GIF\")";
    media::TGIFDecoder gif;
    try {
        if (!gif.Decode(reinterpret_cast<const uint8_t*>(blob.data()), blob.size()))
            return "does not decode: a frame has no width or height";
    } catch (const base::Exception&) {
        return "does not decode: its header is cut off";
    }
    if (gif.FrameCount() == 0) return "does not decode: it holds no frame";
    return {};
}

std::vector<std::string> CheckMenuResourceFile(std::string_view fileView, std::ostream* listing) {
    // Without a listing the fields go nowhere: a stream without a buffer drops what it is given.
    std::ostream discard(nullptr);
    std::ostream& out = listing ? *listing : discard;
    const std::string file(fileView);
    const auto* data = reinterpret_cast<const uint8_t*>(file.data());
    std::vector<std::string> problems;

    auto field = [&](size_t offset, size_t length) -> std::optional<std::string> {
        if (offset + length > file.size()) return std::nullopt;
        return file.substr(offset, length);
    };
    if (file.size() < MenuDat::kHeaderLength)
        problems.push_back("the file ends at byte " + std::to_string(file.size()) + ", inside the header (" +
                           std::to_string(MenuDat::kHeaderLength) + " bytes)");

    if (auto f = field(MenuDat::kProjectOffset, MenuDat::kProjectLength)) {
        out << "project field     " << Shown(*f) << "\n";
        out << "project id        \"" << Utf8(ParseProjectId(*f)) << "\"\n";
        if (FieldText(*f).find("~~~") == std::string_view::npos)
            problems.push_back("the project field has no \"~~~\": the project id is empty");
    }
    for (size_t i = 0; i < 3; ++i)
        if (auto f = field(MenuDat::kCreditOffset + i * MenuDat::kCreditLength, MenuDat::kCreditLength))
            out << "credit " << i + 1 << "          " << Shown(*f) << "\n";
    for (size_t i = 0; i < 3; ++i) {
        auto f = field(MenuDat::kBannerTargetOffset + i * MenuDat::kBannerTargetLength,
                       MenuDat::kBannerTargetLength);
        if (!f) continue;
        out << "banner " << i + 1 << " target   " << Shown(*f) << "\n";
        if (i == 0 && FieldText(*f) == "---")
            problems.push_back("banner 1 is marked absent (\"---\"); it is always shown");
        if (FieldText(*f).empty()) problems.push_back("banner " + std::to_string(i + 1) + " has no target");
    }

    out << "size fields\n";
    std::array<std::optional<int32_t>, 11> sizes;
    for (size_t i = 0; i < MenuDat::kSizeFieldCount; ++i) {
        auto f = field(MenuDat::kSizeFieldOffset + i * MenuDat::kSizeFieldLength, MenuDat::kSizeFieldLength);
        if (!f) continue;
        out << "  " << kSizeNames[i] << std::string(10 - std::string(kSizeNames[i]).size(), ' ') << Shown(*f);
        try {
            sizes[i] = ParseSizeField(*f);
            out << " = " << *sizes[i] << "\n";
        } catch (const base::Exception&) {
            out << " (not a number)\n";
            if (i != MenuDat::kReservedSize)
                problems.push_back("the size field of " + std::string(kSizeNames[i]) +
                                   " is not a decimal number");
        }
        if (sizes[i] && *sizes[i] <= 0 && i != MenuDat::kReservedSize)
            problems.push_back("the size of " + std::string(kSizeNames[i]) + " is " +
                               std::to_string(*sizes[i]) + ": the blob is left empty");
    }

    out << "blobs\n";
    size_t pos = MenuDat::kHeaderLength;
    bool located = file.size() >= MenuDat::kHeaderLength;
    auto blob = [&](const std::string& name, std::optional<int64_t> size, auto&& check) {
        if (!located) {
            out << "  " << name << ": not located\n";
            return;
        }
        if (!size) {
            out << "  " << name << ": offset " << pos << ", size unknown\n";
            problems.push_back(name + " and everything after it cannot be located");
            located = false;
            return;
        }
        const int64_t n = std::max<int64_t>(*size, 0);
        out << "  " << name << std::string(9 - name.size(), ' ') << "offset " << pos << "  size " << n
            << "\n";
        if (static_cast<uint64_t>(n) > file.size() - pos) {
            problems.push_back(name + " (" + std::to_string(n) + " bytes at offset " + std::to_string(pos) +
                               ") runs past the end of the file");
            located = false;
            return;
        }
        if (n > 0) check(std::string_view(file).substr(pos, static_cast<size_t>(n)));
        pos += static_cast<size_t>(n);
    };

    std::optional<int64_t> logoSize;
    if (located) {
        try {
            logoSize = BmpImageLength(data + pos, file.size() - pos);
        } catch (const base::Exception& e) {
            problems.push_back("the logo is no readable bitmap: " + Utf8(e.Message()));
        }
    }
    blob("logo", logoSize, [](std::string_view) {});
    for (size_t i = 0; i < 7; ++i)
        blob("sound " + std::to_string(i), sizes[3 + i], [&](std::string_view b) {
            if (!IsWave(b)) problems.push_back("sound " + std::to_string(i) + " is not a RIFF WAVE image");
        });
    for (size_t i = 0; i < 3; ++i)
        blob("GIF " + std::to_string(i + 1), sizes[i], [&](std::string_view b) {
            const std::string fault = BannerPictureFault(b);
            if (!fault.empty())
                problems.push_back("GIF " + std::to_string(i + 1) + " " + fault +
                                   ": the menu leaves banner " + std::to_string(i + 1) + " out");
        });
    if (located) {
        out << "end of data       " << pos << "\n";
        if (pos < file.size())
            problems.push_back(std::to_string(file.size() - pos) + " bytes after GIF 3 are never read");
    }

    // The verdict of the menu's own reader.
    try {
        TMenuResource menu = ReadMenuResource(data, file.size());
        out << "banner links\n";
        for (int i = 0; i < 3; ++i) {
            const std::vector<uint8_t>& picture = menu.Banners[size_t(i)];
            const bool shown =
                menu.BannerPresent(i) &&
                BannerPictureFault(
                    std::string_view(reinterpret_cast<const char*>(picture.data()), picture.size()))
                    .empty();
            out << "  " << i + 1 << (shown ? "  " : "  (not shown) ") << Utf8(menu.BannerUrl(i)) << "\n";
        }
        out << "the menu reads this file\n";
    } catch (const base::Exception& e) {
        out << "the menu stops reading this file with: " << Utf8(e.Message()) << "\n";
        if (problems.empty()) problems.push_back("the menu's reader fails: " + Utf8(e.Message()));
    }

    return problems;
}
