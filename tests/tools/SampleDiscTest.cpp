// The sample disc built by makedisc: complete, consistent with what the menu reads, and the same on
// every build.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "app/Catalogue.h"
#include "app/MenuResource.h"
#include "base/Cp1252.h"
#include "base/StrUtils.h"
#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"
#include "gfx/JpegCodec.h"
#include "media/GIFDecoder.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {

fs::path BuildDir() {
    // CTest names the build folder; run by hand, the test program lies in its tests/ folder.
    const char* build = std::getenv("CDMENU_BUILD");
    return build ? fs::path(build) : fs::read_symlink("/proc/self/exe").parent_path().parent_path();
}

fs::path Disc() {
    return BuildDir() / "disc";
}

// The window pictures the program carries, as the build wrote them.
fs::path Skin() {
    return BuildDir() / "skin";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

gfx::TBitmap LoadBmp(const fs::path& path) {
    const std::string bytes = ReadFile(path);
    gfx::TBitmap bitmap;
    gfx::ReadBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), bitmap);
    return bitmap;
}

// "D:\Programme\X\setup.sh" -> <disc>/Programme/X/setup.sh; the authoring drive is replaced by the
// disc root as the menu does.
fs::path OnDisc(const std::string& windowsPath) {
    EXPECT_TRUE(windowsPath.size() > 3 && windowsPath[1] == ':' && windowsPath[2] == '\\') << windowsPath;
    std::string relative = windowsPath.substr(3);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return Disc() / relative;
}

// Names of the entries in a ZIP archive's central directory.
std::vector<std::string> ZipNames(const std::string& zip) {
    const size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos || end + 22 > zip.size()) return {};
    auto u16 = [&](size_t at) { return size_t(uint8_t(zip[at])) | size_t(uint8_t(zip[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    std::vector<std::string> names;
    size_t at = u32(end + 16);
    for (size_t i = 0; i < u16(end + 10) && at + 46 <= zip.size() && zip.compare(at, 4, "PK\x01\x02", 4) == 0;
         ++i) {
        const size_t nameLength = u16(at + 28);
        names.push_back(zip.substr(at + 46, nameLength));
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    }
    return names;
}

struct Program {
    std::string Category, Name;
    TProgramRecord Record;
};

std::vector<Program> AllPrograms() {
    const TCatalogue progname = TCatalogue::LoadFromFile((Disc() / "progname.txt").string());
    const TCatalogue daten = TCatalogue::LoadFromFile((Disc() / "daten.txt").string());
    std::vector<Program> programs;
    for (const std::string& category : ReadCategoryList(progname))
        for (const std::string& name : ReadCategoryPrograms(progname, category)) {
            auto record = FindProgramRecord(daten, name, category, false);
            EXPECT_TRUE(record.has_value()) << "no record for " << base::Cp1252ToUtf8(name);
            if (record) programs.push_back({category, name, *record});
        }
    return programs;
}

}  // namespace

TEST(SampleDisc, CatalogueHasFifteenCategoriesAndARecordForEveryProgram) {
    const TCatalogue progname = TCatalogue::LoadFromFile((Disc() / "progname.txt").string());
    const auto categories = ReadCategoryList(progname);
    ASSERT_EQ(categories.size(), 15u);  // more than 13, so the column pages
    EXPECT_EQ(std::set<std::string>(categories.begin(), categories.end()).size(), 15u);
    for (const auto& category : categories) {
        EXPECT_FALSE(ReadCategoryPrograms(progname, category).empty()) << base::Cp1252ToUtf8(category);
        // The header test is a substring test: no name may begin another one.
        for (const auto& other : categories) {
            if (&other != &category) {
                EXPECT_FALSE(other.starts_with(category));
            }
        }
    }
    EXPECT_TRUE(std::any_of(categories.begin(), categories.end(),
                            [](auto& c) { return c.find('&') != std::string::npos; }));

    const auto programs = AllPrograms();
    EXPECT_GE(programs.size(), 60u);
    std::set<std::string> names;
    int missingFacts = 0, longFacts = 0, homepages = 0, features = 0;
    for (const Program& p : programs) {
        EXPECT_TRUE(names.insert(p.Name).second) << "twice: " << base::Cp1252ToUtf8(p.Name);
        for (const std::string& fact : p.Record.Facts) {
            const std::string value = fact.substr(0, fact.find_last_not_of(' ') + 1);
            missingFacts += value.empty();
            longFacts += value.size() >= 25;
        }
        homepages +=
            !p.Record.Facts[5].empty() && p.Record.Facts[5].find_first_not_of(' ') != std::string::npos;
        features += p.Record.Features.size() >= 3;
        EXPECT_EQ(p.Record.Facts[5].find("http://"), std::string::npos);  // the page adds the scheme
        // Several paragraphs, ending where the record ends.
        const auto& text = p.Record.Description;
        EXPECT_GE(std::count(text.begin(), text.end(), std::string()), 1) << base::Cp1252ToUtf8(p.Name);
        ASSERT_FALSE(text.empty());
        EXPECT_FALSE(text.back().empty()) << base::Cp1252ToUtf8(p.Name);
        for (const auto& line : text) EXPECT_EQ(line.find("Programm:"), std::string::npos);
    }
    EXPECT_GT(missingFacts, 0);
    EXPECT_GT(longFacts, 0);
    EXPECT_GT(homepages, 40);
    EXPECT_GT(features, 10);
    EXPECT_LT(features, static_cast<int>(programs.size()));
}

TEST(SampleDisc, EveryReferencedFileExists) {
    int archives = 0, starts = 0, installers = 0, without = 0;
    std::set<std::pair<int, int>> shotSizes;
    for (const Program& p : AllPrograms()) {
        const std::string& shot = p.Record.Screenshot;
        if (shot.size() > 3) {
            const std::string jpeg = ReadFile(OnDisc(shot));
            ASSERT_TRUE(gfx::IsJpeg(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size())) << shot;
            const auto size = gfx::JpegSize(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size());
            shotSizes.insert({size.cx, size.cy});
        }
        const std::string& install = p.Record.Install;
        const std::string& start = p.Record.Start;
        if (install.size() > 4) {
            const fs::path path = OnDisc(install);
            ASSERT_TRUE(fs::is_regular_file(path)) << install;
            if (base::UpperCase(path.extension().string()) == ".ZIP") {
                ++archives;
                const auto names = ZipNames(ReadFile(path));
                EXPECT_GE(names.size(), 6u) << install;
                // Real files in folders, as "Entpacken" recreates them.
                EXPECT_TRUE(std::any_of(names.begin(), names.end(), [](auto& n) {
                    return n.find('/') != n.rfind('/') && n.back() != '/';
                })) << install;
            } else {
                ++installers;
                EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << install;
            }
        }
        if (start.size() > 4) {
            ++starts;
            const fs::path path = OnDisc(start);
            ASSERT_TRUE(fs::is_regular_file(path)) << start;
            EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << start;
            EXPECT_EQ(ReadFile(path).rfind("#!/bin/sh\n", 0), 0u);
        }
        without += install.size() <= 4 && start.size() <= 4;
    }
    EXPECT_GT(archives, 5);
    EXPECT_GT(installers, 5);
    EXPECT_GT(starts, 5);
    EXPECT_GT(without, 0);  // a page with "Kopieren" disabled
    // Screenshots smaller than, equal to and larger than the 261 by 196 thumbnail frame.
    EXPECT_TRUE(shotSizes.count({261, 196}));
    EXPECT_TRUE(shotSizes.count({800, 600}));
    EXPECT_TRUE(shotSizes.count({260, 400}));
    EXPECT_TRUE(std::any_of(shotSizes.begin(), shotSizes.end(),
                            [](auto s) { return s.first < 261 && s.second < 196; }));
    EXPECT_TRUE(std::any_of(shotSizes.begin(), shotSizes.end(), [](auto s) { return s.first > 800; }));
}

TEST(SampleDisc, WindowPicturesHaveTheLayoutSizes) {
    const gfx::TBitmap skin = LoadBmp(Skin() / "SkinForm1.bmp");
    EXPECT_EQ(skin.Width(), 640);
    EXPECT_EQ(skin.Height(), 480);
    EXPECT_EQ(skin.PixelFormat(), gfx::pf8bit);
    const gfx::TBitmap search = LoadBmp(Skin() / "SuchenForm.bmp");
    EXPECT_EQ(search.Width(), 380);
    EXPECT_EQ(search.Height(), 120);
    EXPECT_EQ(search.PixelFormat(), gfx::pf8bit);
    const gfx::TBitmap start = LoadBmp(Skin() / "iStart.bmp");
    EXPECT_EQ(start.Width(), 425);
    EXPECT_EQ(start.Height(), 440);
    const std::string info = ReadFile(Skin() / "iHintergrund.jpg");
    EXPECT_EQ(gfx::JpegSize(reinterpret_cast<const uint8_t*>(info.data()), info.size()),
              (gfx::TSize{640, 450}));
    EXPECT_EQ(LoadBmp(Skin() / "iRubrik.bmp").Width(), 170);
    EXPECT_EQ(LoadBmp(Skin() / "iFacts.bmp").Height(), 13);

    // The program list panel's background is a snapshot taken at x 8 and shown at x 15: the skin
    // behind the column must look the same after that shift.
    int differing = 0;
    for (int y = 130; y < 380; ++y)
        for (int x = 15; x < 185; ++x) differing += skin.Pixel(x, y) != skin.Pixel(x - 7, y);
    EXPECT_EQ(differing, 0);
}

// The icon the Windows program carries (and autorun.inf names): a directory of 16, 32 and 48 pixel
// 32-bit images whose data lie inside the file, clear in the corners and opaque on the disc.
TEST(SampleDisc, ProgramIconHoldsThreeSizesClearOutsideTheDisc) {
    const std::string ico = ReadFile(BuildDir() / "generated" / "cdmenu.ico");
    ASSERT_GE(ico.size(), 6u);
    auto u16 = [&](size_t at) { return unsigned(uint8_t(ico[at])) | unsigned(uint8_t(ico[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    EXPECT_EQ(u16(0), 0u);
    EXPECT_EQ(u16(2), 1u);
    ASSERT_EQ(u16(4), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const size_t entry = 6 + 16 * i;
        const int size = uint8_t(ico[entry]);
        EXPECT_EQ(size, (std::array{16, 32, 48}[i]));
        const uint32_t bytes = u32(entry + 8), offset = u32(entry + 12);
        ASSERT_LE(size_t(offset) + bytes, ico.size());
        EXPECT_EQ(u32(offset), 40u);                // BITMAPINFOHEADER
        EXPECT_EQ(int(u32(offset + 8)), 2 * size);  // colour and mask rows
        EXPECT_EQ(u16(offset + 14), 32u);
        auto alpha = [&](int x, int y) {  // rows from the bottom up
            return uint8_t(ico[offset + 40 + (size_t(size - 1 - y) * size + x) * 4 + 3]);
        };
        EXPECT_EQ(alpha(0, 0), 0) << size;
        EXPECT_EQ(alpha(size - 1, size - 1), 0) << size;
        EXPECT_EQ(alpha(size / 2, size / 2), 0) << "the hole of the " << size << " pixel disc";
        EXPECT_EQ(alpha(size / 2, size / 8), 255) << size;
    }
}

TEST(SampleDisc, ImageListsHaveTheirImageSizesMasksAndKeyColour) {
    struct List {
        const char* Name;
        int Width, Height, Count, RoundWidth;  // RoundWidth of the buttons that use the list; 0: no strip
    };
    const List lists[] = {{"ilButtons1", 60, 80, 2, 15},
                          {"ilButtons2", 170, 80, 1, 85},
                          {"ilButtons3", 134, 92, 2, 0},
                          {"ilButtons4", 17, 68, 1, 8},
                          {"ilGlyphs1", 16, 16, 2, 0}};
    const gfx::TColor key = gfx::RGB(70, 95, 135);
    for (const List& list : lists) {
        SCOPED_TRACE(list.Name);
        const gfx::TBitmap image = LoadBmp(Skin() / (std::string(list.Name) + ".bmp"));
        const gfx::TBitmap mask = LoadBmp(Skin() / (std::string(list.Name) + ".mask.bmp"));
        ASSERT_EQ(image.Width(), list.Width * list.Count);
        ASSERT_EQ(image.Height(), list.Height);
        ASSERT_EQ(mask.Width(), image.Width());
        ASSERT_EQ(mask.Height(), image.Height());
        ASSERT_EQ(mask.PixelFormat(), gfx::pf1bit);
        int clear = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const bool transparent = mask.Pixel(x, y) == gfx::RGB(255, 255, 255);
                clear += transparent;
                // Outside the mask the key colour, inside never: an image drawn without its mask
                // still has transparent corners, and no visible pixel drops out.
                ASSERT_EQ(image.Pixel(x, y) == key, transparent) << x << "," << y;
            }
        EXPECT_GT(clear, 0);
        // The middle strip of a stretched button is copied from columns RoundWidth + 1 and + 2 of a
        // white scratch picture over whole bands: they must be opaque from top to bottom.
        if (list.RoundWidth == 0) continue;
        for (int i = 0; i < list.Count; ++i)
            for (int y = 0; y < list.Height; ++y)
                for (int x : {list.RoundWidth + 1, list.RoundWidth + 2})
                    EXPECT_EQ(mask.Pixel(i * list.Width + x, y), gfx::RGB(0, 0, 0)) << x << "," << y;
    }
}

TEST(SampleDisc, MenuFileHoldsLogoSevenSoundsAndThreeBanners) {
    const TMenuResource menu = LoadMenuResourceFile((Disc() / "Menue.dat").string());
    EXPECT_EQ(menu.Header.ProjectId, "SOFTBOX26");
    for (const auto& credit : menu.Header.Credits) EXPECT_FALSE(credit.empty());
    EXPECT_NE(menu.Header.Credits[0].find('&'), std::string::npos);
    EXPECT_EQ(menu.CreditCaptions[0].find("&&"), menu.Header.Credits[0].find('&'));

    gfx::TBitmap logo;
    gfx::ReadBmp(menu.Logo.data(), menu.Logo.size(), logo);
    EXPECT_EQ(logo.Width(), 190);
    EXPECT_EQ(logo.Height(), 101);

    std::set<std::vector<uint8_t>> distinct;
    for (int slot = 0; slot < 7; ++slot) {
        const auto& wave = menu.SoundSlots[slot];
        ASSERT_GT(wave.size(), 44u) << slot;
        EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 12), "WAVE");
        EXPECT_EQ(wave[22], 1) << "mono";
        const int bits = wave[34];
        EXPECT_TRUE(bits == 8 || bits == 16);
        distinct.insert(wave);
    }
    EXPECT_EQ(distinct.size(), 7u);

    // Banner 1 loops for ever, banner 2 has no loop block and plays once, banner 3 is a still.
    const int frames[3] = {-2, -2, 1};
    const int loops[3] = {0, 1, 1};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(menu.BannerPresent(i));
        media::TGIFDecoder gif;
        ASSERT_TRUE(gif.Decode(menu.Banners[i].data(), menu.Banners[i].size()));
        EXPECT_EQ(gif.ImageWidth, 170);
        EXPECT_EQ(gif.ImageHeight, 70);
        EXPECT_EQ(gif.LoopCount, loops[i]);
        if (frames[i] > 0) {
            EXPECT_EQ(gif.FrameCount(), frames[i]);
        } else {
            EXPECT_GT(gif.FrameCount(), 1);
        }
    }
}

TEST(SampleDisc, GenerationIsDeterministic) {
    const fs::path source = fs::path(CDMENU_SOURCE_DIR) / "assets" / "src";
    const fs::path again = fs::temp_directory_path() / ("cdmenu-disc-" + std::to_string(::getpid()));
    fs::remove_all(again);
    const fs::path againSkin = again.string() + "-skin";
    fs::remove_all(againSkin);
    std::string program = (BuildDir() / "makedisc").string(), src = source.string(), out = again.string();
    std::string skinOption = "--skin", skin = againSkin.string();
    char* argv[] = {program.data(), src.data(), out.data(), skinOption.data(), skin.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    std::map<std::string, std::string> first, second;
    // The disc and the window pictures that the program carries.
    for (auto& [root, files, prefix] :
         {std::tuple{Disc(), &first, "disc/"}, std::tuple{again, &second, "disc/"},
          std::tuple{Skin(), &first, "skin/"}, std::tuple{againSkin, &second, "skin/"}})
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                (*files)[prefix + fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
    fs::remove_all(again);
    fs::remove_all(againSkin);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        ASSERT_TRUE(second.count(name)) << name;
        EXPECT_TRUE(second[name] == bytes) << name << " differs between two runs";
    }
}
