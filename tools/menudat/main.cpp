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
#include "app/MenuResourceCheck.h"
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

std::string Utf8(std::string_view cp1252) {
    return base::Cp1252ToUtf8(cp1252);
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
    std::cout << path.string() << ": " << file.size() << " bytes\n";
    const std::vector<std::string> problems = CheckMenuResourceFile(file, &std::cout);
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
