// makedisc SOURCE OUTPUT [--skin DIR] [--builtin-skin FILE.cpp] [--icon FILE.ico] [--preview DIR]
//
// Builds the sample disc from the committed sources: the catalogue text in SOURCE becomes
// progname.txt, daten.txt, screenshots and program folders; the window pictures, image lists, sounds
// and banners are drawn and synthesised here; Menue.dat collects logo, sounds and banners. Everything
// is deterministic, so two runs give identical discs. The window pictures go into OUTPUT/skin, or
// into DIR with --skin (the program carries them, so the disc needs none); --builtin-skin writes
// them as the C++ source that compiles them into the program. --preview also writes PNG views.
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "base/Cp1252.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/makedisc/BannerArt.h"
#include "tools/makedisc/BuiltinSkinSource.h"
#include "tools/makedisc/ButtonArt.h"
#include "tools/makedisc/CatalogueFiles.h"
#include "tools/makedisc/DiscFiles.h"
#include "tools/makedisc/IconArt.h"
#include "tools/makedisc/ImageFiles.h"
#include "tools/makedisc/Mockup.h"
#include "tools/makedisc/ScreenshotArt.h"
#include "tools/makedisc/SkinArt.h"
#include "tools/makedisc/SoundArt.h"

namespace fs = std::filesystem;

namespace {

const DiscTitle kTitle{"SoftBox", "Ihre Software-Sammlung 2026",
                       "SoftBox 2026  ·  Software-Sammlung auf CD & DVD", "Muster-Verlag GmbH"};

// Info page credits: compilation, editorial assistance, copyright line.
const char* const kCredits[3] = {"Anna Beispiel & Jonas Muster", "Lena Vorlage", "© 2026 Muster-Verlag GmbH"};

void Preview(const fs::path& dir, const std::string& name, const Raster& picture) {
    if (dir.empty()) return;
    DiscFiles(dir).Write(name + ".png", EncodePng(picture));
}

// Raster of an indexed picture, for previews of exactly what the disc holds.
Raster Expand(const IndexedImage& image) {
    Raster r(image.Width, image.Height);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            r.At(x, y) = image.Palette[image.Pixels[static_cast<size_t>(y) * image.Width + x]];
    return r;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes the picture into the skin folder and keeps it for the program to carry.
void SkinPicture(DiscFiles& skin, std::vector<SkinFileImage>& builtin, const std::string& name,
                 const std::string& file, const Raster& pixels) {
    skin.Write(name, file);
    builtin.push_back({name, pixels.Width(), pixels.Height(), file});
}

Raster WriteChrome(DiscFiles& skinFiles, std::vector<SkinFileImage>& builtin, const fs::path& preview) {
    Raster skin = PaintSkin(kTitle);
    const IndexedImage skin8 = Quantize(skin);
    SkinPicture(skinFiles, builtin, "SkinForm1.bmp", EncodeBmp8(skin8), Expand(skin8));
    Preview(preview, "SkinForm1", Expand(skin8));

    const IndexedImage search8 = Quantize(PaintSearchSkin());
    SkinPicture(skinFiles, builtin, "SuchenForm.bmp", EncodeBmp8(search8), Expand(search8));
    Preview(preview, "SuchenForm", Expand(search8));

    const Raster start = PaintStartPicture(skin, kTitle);
    SkinPicture(skinFiles, builtin, "iStart.bmp", EncodeBmp24(start), start);
    Preview(preview, "iStart", start);

    const Raster info = PaintInfoBackground(kTitle);
    SkinPicture(skinFiles, builtin, "iHintergrund.jpg", EncodeJpeg(info, 90), info);
    Preview(preview, "iHintergrund", info);

    const Raster header = PaintHeaderBar(skin), facts = PaintFactBar(skin);
    SkinPicture(skinFiles, builtin, "iRubrik.bmp", EncodeBmp24(header), header);
    SkinPicture(skinFiles, builtin, "iFacts.bmp", EncodeBmp24(facts), facts);

    for (const ImageStrip& strip : PaintImageLists()) {
        SkinPicture(skinFiles, builtin, strip.Name + ".bmp", EncodeBmp24(strip.Colour), strip.Colour);
        Raster mask(strip.Colour.Width(), strip.Colour.Height());
        for (int y = 0; y < mask.Height(); ++y)
            for (int x = 0; x < mask.Width(); ++x)
                mask.At(x, y) = strip.Transparent[static_cast<size_t>(y) * mask.Width() + x] ? Hex(0xFFFFFF)
                                                                                             : Hex(0x000000);
        SkinPicture(skinFiles, builtin, strip.Name + ".mask.bmp",
                    EncodeBmpMask(strip.Colour.Width(), strip.Colour.Height(), strip.Transparent), mask);
        Preview(preview, strip.Name, strip.Colour);
    }
    return skin;
}

// Menue.dat: project id, credits, banner targets, logo, the seven sounds and the three banners.
void WriteMenuFile(DiscFiles& disc, const Raster& logo, const std::array<Banner, 3>& banners) {
    TMenuDatWriter menu;
    menu.ProjectField = "SOFTBOX26~~~SoftBox 2026, Beispiel-CD";
    for (int i = 0; i < 3; ++i) menu.Credits[i] = base::Cp(kCredits[i]);
    menu.BannerTargets = {"www.softbox.example/abo", "www.muster-verlag.example/heft",
                          "www.softbox.example/gewinnspiel"};
    menu.Logo = EncodeBmp24(logo);
    menu.Sounds = SynthesiseSounds();
    for (int i = 0; i < 3; ++i) menu.Gifs[i] = banners[i].Gif;
    disc.Write("Menue.dat", menu.Build());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: makedisc SOURCE OUTPUT [--skin DIR] [--builtin-skin FILE.cpp] [--icon FILE.ico] "
                     "[--preview DIR]\n";
        return 2;
    }
    const fs::path source = argv[1], output = argv[2];
    fs::path preview, skinDir = output / "skin", builtinSource, icon;
    for (int i = 3; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--preview") preview = argv[++i];
        if (option == "--skin") skinDir = argv[++i];
        if (option == "--builtin-skin") builtinSource = argv[++i];
        if (option == "--icon") icon = argv[++i];
    }
    try {
        // The catalogue is checked first, so a mistake in it stops the build before anything is written.
        const auto catalogue = ReadCatalogueSource(ReadFile(source / "catalogue.txt"));
        // A rebuild starts from an empty folder, so nothing of an older catalogue survives; a folder
        // that holds something other than a disc is left alone.
        if (fs::exists(output) && !fs::is_empty(output)) {
            if (!fs::exists(output / "Menue.dat") && !fs::exists(output / "progname.txt"))
                throw std::runtime_error(output.string() + " is not empty and holds no disc");
            fs::remove_all(output);
        }
        DiscFiles disc(output);
        DiscFiles skinFiles(skinDir);
        std::vector<SkinFileImage> builtin;
        const Raster skin = WriteChrome(skinFiles, builtin, preview);
        if (!builtinSource.empty())
            DiscFiles(builtinSource.parent_path())
                .Write(builtinSource.filename().string(), BuiltinSkinSource(builtin));
        if (!icon.empty()) DiscFiles(icon.parent_path()).Write(icon.filename().string(), EncodeProgramIcon());
        const Raster logo = PaintLogo(skin, kTitle);
        Preview(preview, "logo", logo);
        const auto banners = PaintBanners();
        WriteMenuFile(disc, logo, banners);
        const CatalogueSummary summary =
            WriteCatalogue(disc, catalogue, [&](const std::string& name, const Raster& shot) {
                Preview(preview.empty() ? preview : preview / "Bilder", name, shot);
            });
        if (!preview.empty()) {
            std::vector<std::string> cats;
            cats.reserve(catalogue.size());
            for (const auto& c : catalogue) cats.push_back(c.Name);
            Preview(preview, "mock-start",
                    MockStartPage(skin, logo, PaintStartPicture(skin, kTitle), banners[0].Frames[4],
                                  PaintImageLists(), cats));
            for (int i = 0; i < 3; ++i) {
                Raster sheet(170, 74 * static_cast<int>(banners[i].Frames.size()), Hex(0xFFFFFF));
                for (size_t f = 0; f < banners[i].Frames.size(); ++f)
                    sheet.Draw(banners[i].Frames[f], 0, 74 * static_cast<int>(f));
                Preview(preview, "banner" + std::to_string(i + 1), sheet);
            }
            Preview(preview, "imagelists", ImageListSheet(PaintImageLists(), 3));
            Preview(preview, "mock-info",
                    MockInfoPage(skin, PaintInfoBackground(kTitle), PaintImageLists(),
                                 {kCredits[0], kCredits[1], kCredits[2]}, "redaktion@example.net",
                                 "www.example.net"));
            // The first program of the second category, as its page appears.
            const CategorySource& category = catalogue[1];
            const ProgramSource& program = category.Programs.front();
            PageMock page;
            page.Category = category.Name;
            for (const auto& p : category.Programs) page.Programs.push_back(p.Name);
            const std::pair<const char*, std::string> facts[] = {
                {"Betriebssystem", program.Os}, {"Lizenz", program.Licence},  {"Preis", program.Price},
                {"Sprache", program.Language},  {"Anbieter", program.Vendor}, {"Homepage", program.Homepage}};
            for (const auto& [key, value] : facts)
                if (!value.empty())
                    page.Facts.emplace_back(key, value.size() >= 25 ? value.substr(0, 22) + "..." : value);
            page.Features = program.Features;
            page.Text = program.Text;
            page.Screenshot = PaintScreenshot({program.Name, program.ShotKind, program.Homepage, program.Text,
                                               program.ShotWidth, program.ShotHeight});
            page.Install = program.HasSetup();
            page.Unpack = program.HasZip();
            page.Start = program.HasStart();
            Preview(preview, "mock-page",
                    MockProgramPage(skin, logo, PaintHeaderBar(skin), PaintFactBar(skin), PaintImageLists(),
                                    page));
        }
        std::cout << "makedisc: " << output.string() << ": " << summary.Categories << " categories, "
                  << summary.Programs << " programs, " << summary.Screenshots << " screenshots, "
                  << summary.Archives << " archives, " << summary.Installers << " installers, "
                  << summary.StartFiles << " start files\n";
    } catch (const std::exception& e) {
        std::cerr << "makedisc: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
