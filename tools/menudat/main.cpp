// menudat — builds, inspects and unpacks Menue.dat, the menu resource file of a disc.
//
//   menudat pack DIR OUT      build OUT from DIR/menu.txt and the files it names (see MenuFolder.h)
//   menudat list FILE         every header field, each blob's offset and size, and what is wrong
//   menudat extract FILE DIR  write DIR/menu.txt, logo, sounds and banners (pack reverses it)
//
// Exit codes: 0 success (list: no problem found), 1 bad input or problems found, 2 usage.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MenuResource.h"
#include "base/Cp1252.h"
#include "base/Exceptions.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/menudat/MenuFolder.h"

namespace fs = std::filesystem;

namespace {

const char* const kUsage =
    "usage: menudat pack DIR OUT       build Menue.dat from DIR/menu.txt and its files\n"
    "       menudat list FILE          show the fields and blobs of FILE and what is wrong with it\n"
    "       menudat extract FILE DIR   write menu.txt, logo, sounds and banners of FILE into DIR\n";

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
bool IsGif(std::string_view b) {
    return b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a");
}

// ---------------------------------------------------------------------------------------------- pack

int Pack(const fs::path& dir, const fs::path& out) {
    const TMenuFolder folder = TMenuFolder::Parse(ReadFileBytes(dir / "menu.txt"));
    TMenuDatWriter w;
    w.ProjectField = folder.ProjectField;
    w.Credits = folder.Credits;
    w.BannerTargets = folder.BannerTargets;
    w.Reserved = folder.Reserved;

    w.Logo = ReadFileBytes(dir / folder.LogoFile);
    // The menu finds the first sound right behind the logo's last pixel row, so a logo with bytes
    // the headers do not account for would shift every blob after it.
    int64_t length = 0;
    try {
        length = BmpImageLength(reinterpret_cast<const uint8_t*>(w.Logo.data()), w.Logo.size());
    } catch (const base::Exception& e) {
        throw std::runtime_error(folder.LogoFile + ": not a bitmap the menu can read (" + Utf8(e.Message()) +
                                 ")");
    }
    if (length != static_cast<int64_t>(w.Logo.size()))
        throw std::runtime_error(folder.LogoFile + ": the headers account for " + std::to_string(length) +
                                 " bytes but the file has " + std::to_string(w.Logo.size()) +
                                 "; save it as an uncompressed BMP without extra data");
    for (size_t i = 0; i < 7; ++i) {
        w.Sounds[i] = ReadFileBytes(dir / folder.SoundFiles[i]);
        if (!IsWave(w.Sounds[i])) throw std::runtime_error(folder.SoundFiles[i] + ": not a RIFF WAVE file");
    }
    for (size_t i = 0; i < 3; ++i) {
        w.Gifs[i] = ReadFileBytes(dir / folder.GifFiles[i]);
        if (!IsGif(w.Gifs[i])) throw std::runtime_error(folder.GifFiles[i] + ": not a GIF file");
    }
    for (const std::string* blob : {&w.Logo, &w.Gifs[0], &w.Gifs[1], &w.Gifs[2]})
        if (blob->size() > 2147483647u)
            throw std::runtime_error("a file is larger than a size field can state");

    std::string image;
    try {
        image = w.Build();
    } catch (const std::invalid_argument& e) {
        throw std::runtime_error(std::string("menu.txt: ") + e.what());
    }
    // What the menu will read back must be what was packed.
    TMenuResource check = ReadMenuResource(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    if (check.SoundSlots[6].size() != w.Sounds[6].size())
        throw std::runtime_error("internal error: blob offsets differ");
    WriteFileBytes(out, image);
    std::cout << out.string() << ": " << image.size() << " bytes, project id \""
              << Utf8(check.Header.ProjectId) << "\"\n";
    return 0;
}

// ---------------------------------------------------------------------------------------------- list

int List(const fs::path& path) {
    const std::string file = ReadFileBytes(path);
    const auto* data = reinterpret_cast<const uint8_t*>(file.data());
    std::vector<std::string> problems;
    std::cout << path.string() << ": " << file.size() << " bytes\n";

    auto field = [&](size_t offset, size_t length) -> std::optional<std::string> {
        if (offset + length > file.size()) return std::nullopt;
        return file.substr(offset, length);
    };
    if (file.size() < MenuDat::kHeaderLength)
        problems.push_back("the file ends at byte " + std::to_string(file.size()) + ", inside the header (" +
                           std::to_string(MenuDat::kHeaderLength) + " bytes)");

    if (auto f = field(MenuDat::kProjectOffset, MenuDat::kProjectLength)) {
        std::cout << "project field     " << Shown(*f) << "\n";
        std::cout << "project id        \"" << Utf8(ParseProjectId(*f)) << "\"\n";
        if (FieldText(*f).find("~~~") == std::string_view::npos)
            problems.push_back("the project field has no \"~~~\": the project id is empty");
    }
    for (size_t i = 0; i < 3; ++i)
        if (auto f = field(MenuDat::kCreditOffset + i * MenuDat::kCreditLength, MenuDat::kCreditLength))
            std::cout << "credit " << i + 1 << "          " << Shown(*f) << "\n";
    for (size_t i = 0; i < 3; ++i) {
        auto f = field(MenuDat::kBannerTargetOffset + i * MenuDat::kBannerTargetLength,
                       MenuDat::kBannerTargetLength);
        if (!f) continue;
        std::cout << "banner " << i + 1 << " target   " << Shown(*f) << "\n";
        if (i == 0 && FieldText(*f) == "---")
            problems.push_back("banner 1 is marked absent (\"---\"); it is always shown");
        if (FieldText(*f).empty()) problems.push_back("banner " + std::to_string(i + 1) + " has no target");
    }

    std::cout << "size fields\n";
    std::array<std::optional<int32_t>, 11> sizes;
    for (size_t i = 0; i < MenuDat::kSizeFieldCount; ++i) {
        auto f = field(MenuDat::kSizeFieldOffset + i * MenuDat::kSizeFieldLength, MenuDat::kSizeFieldLength);
        if (!f) continue;
        std::cout << "  " << kSizeNames[i] << std::string(10 - std::string(kSizeNames[i]).size(), ' ')
                  << Shown(*f);
        try {
            sizes[i] = ParseSizeField(*f);
            std::cout << " = " << *sizes[i] << "\n";
        } catch (const base::Exception&) {
            std::cout << " (not a number)\n";
            if (i != MenuDat::kReservedSize)
                problems.push_back("the size field of " + std::string(kSizeNames[i]) +
                                   " is not a decimal number");
        }
        if (sizes[i] && *sizes[i] <= 0 && i != MenuDat::kReservedSize)
            problems.push_back("the size of " + std::string(kSizeNames[i]) + " is " +
                               std::to_string(*sizes[i]) + ": the blob is left empty");
    }

    std::cout << "blobs\n";
    size_t pos = MenuDat::kHeaderLength;
    bool located = file.size() >= MenuDat::kHeaderLength;
    auto blob = [&](const std::string& name, std::optional<int64_t> size, auto&& check) {
        if (!located) {
            std::cout << "  " << name << ": not located\n";
            return;
        }
        if (!size) {
            std::cout << "  " << name << ": offset " << pos << ", size unknown\n";
            problems.push_back(name + " and everything after it cannot be located");
            located = false;
            return;
        }
        const int64_t n = std::max<int64_t>(*size, 0);
        std::cout << "  " << name << std::string(9 - name.size(), ' ') << "offset " << pos << "  size " << n
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
            if (!IsGif(b)) problems.push_back("GIF " + std::to_string(i + 1) + " has no GIF signature");
        });
    if (located) {
        std::cout << "end of data       " << pos << "\n";
        if (pos < file.size())
            problems.push_back(std::to_string(file.size() - pos) + " bytes after GIF 3 are never read");
    }

    // The verdict of the menu's own reader.
    try {
        TMenuResource menu = ReadMenuResource(data, file.size());
        std::cout << "banner links\n";
        for (int i = 0; i < 3; ++i)
            std::cout << "  " << i + 1 << (menu.BannerPresent(i) ? "  " : "  (not shown) ")
                      << Utf8(menu.BannerUrl(i)) << "\n";
        std::cout << "the menu reads this file\n";
    } catch (const base::Exception& e) {
        std::cout << "the menu stops reading this file with: " << Utf8(e.Message()) << "\n";
        if (problems.empty()) problems.push_back("the menu's reader fails: " + Utf8(e.Message()));
    }

    if (problems.empty()) {
        std::cout << "no problems found\n";
        return 0;
    }
    std::cout << problems.size() << (problems.size() == 1 ? " problem:\n" : " problems:\n");
    for (const std::string& p : problems) std::cout << "  - " << p << "\n";
    return 1;
}

// ------------------------------------------------------------------------------------------- extract

int Extract(const fs::path& path, const fs::path& dir) {
    const std::string file = ReadFileBytes(path);
    TMenuResource menu;
    try {
        menu = ReadMenuResource(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    } catch (const base::Exception& e) {
        throw std::runtime_error(path.string() + ": " + Utf8(e.Message()) +
                                 " (menudat list shows the details)");
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) throw std::runtime_error(dir.string() + ": cannot be created (" + ec.message() + ")");

    TMenuFolder folder;
    folder.ProjectField = std::string(FieldText(menu.Header.ProjectField));
    for (size_t i = 0; i < 3; ++i) {
        folder.Credits[i] = menu.Header.Credits[i];
        folder.BannerTargets[i] = std::string(FieldText(menu.Header.BannerTargets[i]));
    }
    folder.Reserved = std::string(FieldText(menu.Header.SizeFields[MenuDat::kReservedSize]));
    WriteFileBytes(dir / "menu.txt", folder.Format());
    WriteFileBytes(dir / folder.LogoFile, TMenuDatWriter::Bytes(menu.Logo));
    int empty = 0;
    for (size_t i = 0; i < 7; ++i) {
        if (menu.SoundSlots[i].empty())
            ++empty;
        else
            WriteFileBytes(dir / folder.SoundFiles[i], TMenuDatWriter::Bytes(menu.SoundSlots[i]));
    }
    for (size_t i = 0; i < 3; ++i) {
        if (menu.Banners[i].empty())
            ++empty;
        else
            WriteFileBytes(dir / folder.GifFiles[i], TMenuDatWriter::Bytes(menu.Banners[i]));
    }
    std::cout << dir.string() << ": menu.txt, logo, " << 10 - empty << " of 10 sounds and banners\n";
    if (empty)
        std::cerr << "menudat: " << empty << " blobs are empty in " << path.string()
                  << " and were not written\n";
    return empty ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "pack") return Pack(args[1], args[2]);
        if (args.size() == 2 && args[0] == "list") return List(args[1]);
        if (args.size() == 3 && args[0] == "extract") return Extract(args[1], args[2]);
    } catch (const std::exception& e) {
        std::cerr << "menudat: " << e.what() << "\n";
        return 1;
    }
    std::cerr << kUsage;
    return 2;
}
