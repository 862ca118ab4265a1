// fuzz_seeds OUT — writes the first inputs of every fuzz target into OUT/<target>/, made with the
// project's own writers (GIF, WAV, BMP, ZIP, Menue.dat, catalogue). make-seeds.sh adds pictures and
// archives from ImageMagick, Info-ZIP and Python, and the fuzzers grow the rest.
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tests/fuzz/TinyLogo.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/CatalogueWriter.h"
#include "tools/common/GifWriter.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/common/WavWriter.h"
#include "tools/common/ZipWriter.h"

namespace fs = std::filesystem;

namespace {

fs::path out;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(out / target);
    TZipWriter::SaveFile((out / target / name).string(), bytes);
}

std::string Str(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

std::vector<std::string> Bmps() {
    std::vector<std::string> all;
    for (int bits : {1, 4, 8, 24, 32})
        for (int header : {12, 40, 108, 124}) {
            TBmpSpec s;
            s.Width = 5;
            s.Height = 3;
            s.BitCount = bits;
            s.InfoHeaderSize = header;
            s.TopDown = header == 124;
            const uint32_t colours = bits == 1 ? 2 : 4;
            if (bits <= 8) s.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
            if (bits == 1) s.Palette.resize(2);
            if (header == 12 && bits <= 8) s.Palette.resize(size_t(1) << bits, 0x808080);
            for (uint32_t i = 0; i < 15; ++i) s.Pixels.push_back(bits <= 8 ? i % colours : i * 0x111111);
            all.push_back(TBmpWriter::Write(s));
        }
    return all;
}

std::vector<std::string> Gifs() {
    std::vector<std::string> all;
    const std::vector<uint8_t> palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    TGifImageSpec img;
    img.Width = 4;
    img.Height = 3;
    img.Pixels = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2};
    all.push_back(TGifWriter().Header(4, 3, palette).Image(img).Trailer().Str());
    all.push_back(TGifWriter().Header(4, 3, palette, false).Image(img).Trailer().Str());
    // Animated: loop, every disposal, transparency, a local table, an interlaced frame, a smaller one.
    TGifWriter anim;
    anim.Header(6, 5, palette).LoopCount(0).Comment("seed");
    for (int disposal = 0; disposal < 4; ++disposal) {
        TGifImageSpec f = img;
        f.Left = disposal % 3;
        f.Top = disposal % 2;
        f.Interlaced = disposal == 2;
        if (disposal == 3) f.LocalPalette = {9, 9, 9, 200, 200, 200};
        if (disposal == 3) f.Pixels = {0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 1, 1};
        anim.GraphicControl(10, disposal, disposal == 1 ? 0 : -1).Image(f);
    }
    all.push_back(anim.PlainText("text").Application("ABCDEFGH", "123", {1, 2, 3}).Trailer().Str());
    // Damaged: raw codes past the table, missing end code, cut short.
    TGifImageSpec raw = img;
    raw.RawCodes = {4, 0, 1, 7, 9, 13, 2, 5};
    all.push_back(TGifWriter().Header(4, 3, palette).Image(raw).Trailer().Str());
    TGifImageSpec open = img;
    open.EndCode = false;
    open.Terminator = false;
    open.SubBlockSize = 3;
    all.push_back(TGifWriter().Header(4, 3, palette).Image(open).Str());
    all.push_back(TGifWriter().Header(4, 3, palette).Image(img).Trailer().Truncate(30).Str());
    return all;
}

std::vector<std::string> Waves() {
    std::vector<std::string> all;
    for (int bits : {8, 16})
        for (int channels : {1, 2}) {
            WavWriter w(11025, channels, bits);
            w.AddTone(440, 3);
            if (channels == 2) {
                const uint8_t info[] = {'I', 'N', 'F', 'O', 'a'};
                w.AddExtraChunk("LIST", info);
            }
            all.push_back(Str(w.Image()));
        }
    return all;
}

TZipWriter Archive(int variant) {
    TZipWriter z;
    z.AddFolder("Programm");
    z.AddFile("Programm/liesmich.txt", "Hallo Welt, hallo Welt, hallo Welt\r\n");
    z.AddFile("Programm/daten.bin", std::string(40, '\x01'), TZipWriter::TMethod::Stored);
    if (variant == 1) {
        z.AddSymlink("Programm/verweis", "liesmich.txt");
        z.Comment = "Kommentar";
        z.Entries()[1].DataDescriptor = true;
    }
    if (variant == 2) {
        z.Prefix = "MZ-stub";
        z.AddFile("..\\weg.txt", "x").ExternalAttributes = 0x20;
        z.AddFile("Gro\xDF.txt", "umlaut").VersionMadeBy = TZipWriter::kHostFat << 8 | 20;
    }
    if (variant == 3) {
        z.Entries()[1].DeclaredCrc = 1;
        z.Entries()[2].DeclaredSize = 1000;
        z.EndTotalEntries = 7;
    }
    return z;
}

// progname.txt and daten.txt of a small disc.
TCatalogueWriter Catalogue(const std::string& lineEnd) {
    TCatalogueWriter w;
    w.LineEnd = lineEnd;
    TCatalogueProgram a{"Alpha",
                        "Windows",
                        "Freeware",
                        "0",
                        "Deutsch",
                        "Firma",
                        "www.example.org",
                        "C:\\Programme\\Alpha\\bild.jpg",
                        "C:\\Programme\\Alpha\\alpha.zip",
                        "alpha.exe",
                        "schnell",
                        {"Ein Programm.", "Zweite Zeile mit Umlaut \xE4."}};
    TCatalogueProgram b = a;
    b.Name = "Beta";
    b.Description = {"Beta sucht."};
    TCatalogueProgram c = a;
    c.Name = "Gamma Tool";
    c.Description = {};
    w.Categories = {{"Werkzeuge", {a, b}}, {"Spiele", {c, a}}};
    return w;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds OUT\n";
        return 2;
    }
    out = argv[1];
    int n = 0;
    for (const std::string& b : Bmps()) {
        Seed("bmp_reader", "writer-" + std::to_string(n), b);
        Seed("menudat_roundtrip", "bmp-" + std::to_string(n++), b);
    }
    n = 0;
    for (const std::string& g : Gifs()) {
        Seed("gif_decoder", "writer-" + std::to_string(n), g);
        Seed("gif_image", "writer-" + std::to_string(n++), g);
    }
    n = 0;
    for (const std::string& w : Waves()) Seed("wave_image", "writer-" + std::to_string(n++), w);
    for (int v = 0; v < 4; ++v) {
        const TZipWriter z = Archive(v);
        Seed("zip_list", "writer-" + std::to_string(v), z.Build());
        Seed("unpack32_extract", "writer-" + std::to_string(v), z.Build());
        // The join's layout: volume count - 1, the lengths of all but the last volume, the bytes.
        for (size_t volumeSize : {size_t(150), size_t(300)}) {
            const std::vector<std::string> volumes = z.BuildSplit(volumeSize);
            if (volumes.size() > 4) continue;
            std::string input(1, char(volumes.size() - 1));
            for (size_t i = 0; i + 1 < volumes.size(); ++i)
                input += std::string{char(volumes[i].size() & 0xFF), char(volumes[i].size() >> 8)};
            for (const std::string& v : volumes) input += v;
            Seed("zip_readspan", "writer-" + std::to_string(v) + "-" + std::to_string(volumeSize), input);
            input[0] = char(input[0] | 4);  // the same set under Info-ZIP's names
            Seed("zip_readspan", "infozip-" + std::to_string(v) + "-" + std::to_string(volumeSize), input);
        }
        Seed("zip_readspan", "writer-" + std::to_string(v) + "-whole", std::string(1, '\0') + z.Build());
    }

    TMenuDatWriter menu;
    menu.ProjectField = "SEED~~~Rest";
    menu.Credits = {"Zusammenstellung & Co", "Redaktion", "(c) 2026"};
    menu.BannerTargets = {"www.example.org", "www.example.com", "---"};
    menu.Logo = TinyLogo();
    for (size_t i = 0; i < 7; ++i) menu.Sounds[i] = Waves()[i % 4].substr(0, 60);
    menu.Gifs[0] = Gifs()[0];
    menu.Gifs[1] = Gifs()[1];
    const std::string file = menu.Build();
    Seed("menu_resource", "writer-whole", "\x01" + file);
    Seed("menu_resource", "writer-sizes", std::string(1, '\0') + file.substr(1312));
    menu.SizeFieldOverride[4] = " 12 ";
    menu.TruncateAt = 1500;
    Seed("menu_resource", "writer-damaged", "\x01" + menu.Build());
    Seed("menudat_roundtrip", "writer-menu", file.substr(0, 2000));

    for (const char* lineEnd : {"\r\n", "\n"}) {
        const TCatalogueWriter c = Catalogue(lineEnd);
        const std::string tag = lineEnd[0] == '\r' ? "crlf" : "lf";
        for (const auto& [flags, term] : std::vector<std::pair<int, std::string>>{
                 {0, "Alpha"}, {1, "sucht"}, {2, "Gamma Tool"}, {3, "Werkzeuge"}}) {
            const std::string head = std::string{char(flags), char(term.size())} + term;
            Seed("catalogue", tag + "-" + std::to_string(flags), head + c.Daten());
            Seed("catalogue_file", tag + "-" + std::to_string(flags),
                 std::string{char(flags), char(7 + flags)} + std::string(1, char(term.size())) + term +
                     c.ProgName() + std::string(1, '\0') + c.Daten());
        }
    }
    return 0;
}
