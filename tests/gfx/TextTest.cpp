#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/BuiltinFonts.h"
#include "gfx/Canvas.h"
#include "gfx/FontEngine.h"

using namespace gfx;

namespace {
// Ink bounding box of everything not white.
TRect Ink(const TBitmap& b) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != clWhite) {
                r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r;
}

// Whether FreeType still maps the file (Linux; on Windows an open font file cannot be deleted).
bool Mapped(const std::filesystem::path& file) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(file.string()) != std::string::npos) return true;
    return false;
}

struct NoSmoothing {
    NoSmoothing() { SetFontSmoothing(false); }
    ~NoSmoothing() { SetFontSmoothing(true); }
};
}  // namespace

TEST(Text, HeightSemanticsAndPointSizes) {
    TBitmap b(10, 10);
    TFont& f = b.Canvas().Font();
    f.SetName("Arial");
    f.SetHeight(-20);  // character height: the cell is taller by the internal leading
    int cellOfEm20 = b.Canvas().TextHeight("Xg");
    EXPECT_GT(cellOfEm20, 20);
    EXPECT_LT(cellOfEm20, 26);
    f.SetHeight(cellOfEm20);  // cell height: exactly that
    EXPECT_EQ(b.Canvas().TextHeight("Xg"), cellOfEm20);
    f.SetHeight(30);
    EXPECT_EQ(b.Canvas().TextHeight("Xg"), 30);
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    // Widths add up per character and bold is wider.
    f.SetHeight(-11);
    int plain = b.Canvas().TextWidth("Kopieren");
    EXPECT_EQ(plain, b.Canvas().TextWidth("Kop") + b.Canvas().TextWidth("ieren"));
    f.SetStyle(fsBold);
    EXPECT_GT(b.Canvas().TextWidth("Kopieren"), plain);
    EXPECT_EQ(b.Canvas().TextExtent("").cx, 0);
}

TEST(Text, DrawTextAlignsAndBreaks) {
    NoSmoothing guard;
    TBitmap b(200, 60);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Arial");
    c.Font().SetHeight(-13);
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsClear);
    const TRect box{20, 10, 180, 50};
    auto drawn = [&](unsigned flags) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clWhite);
        c.FillRect({0, 0, 200, 60});
        c.Brush().SetStyle(bsClear);
        c.DrawText("Suche", box, flags);
        return Ink(b);
    };
    TRect left = drawn(DT_LEFT | DT_SINGLELINE);
    TRect centre = drawn(DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    TRect right = drawn(DT_RIGHT | DT_SINGLELINE | DT_BOTTOM);
    EXPECT_GE(left.Left, 20);
    EXPECT_LE(left.Left, 22);
    EXPECT_LE(std::abs((centre.Left - 20) - (180 - centre.Right)), 3);
    EXPECT_LE(std::abs((centre.Top - 10) - (50 - centre.Bottom)), 4);
    EXPECT_LE(right.Right, 180);
    EXPECT_GE(right.Right, 177);
    EXPECT_GT(right.Top, centre.Top);
    EXPECT_LT(left.Top, centre.Top);

    // "&" marks an accelerator: not drawn, the next letter underlined; "&&" is one "&".
    const int wAbc = c.TextWidth("Abc");
    TRect calc{0, 0, 0, 0};
    c.DrawText("&Abc", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, wAbc);
    calc = {0, 0, 0, 0};
    c.DrawText("&Abc", calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(calc.Right, c.TextWidth("&Abc"));
    calc = {0, 0, 0, 0};
    c.DrawText("A&&b", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, c.TextWidth("A&b"));
    TRect plainInk = drawn(DT_SINGLELINE | DT_NOPREFIX);
    c.Brush().SetStyle(bsSolid);
    c.FillRect({0, 0, 200, 60});
    c.Brush().SetStyle(bsClear);
    c.DrawText("&Suche", box, DT_SINGLELINE);
    TRect accelInk = Ink(b);
    EXPECT_GT(accelInk.Bottom, plainInk.Bottom);  // the underline below the S

    // Word break: as many lines as needed, each a line height; CALCRECT draws nothing.
    const int lh = c.TextHeight("X");
    TRect narrow{0, 0, c.TextWidth("eins zwei"), 0};
    int h = c.DrawText("eins zwei drei", narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(h, 2 * lh);
    EXPECT_EQ(narrow.Bottom, 2 * lh);
    EXPECT_EQ(narrow.Right, c.TextWidth("eins zwei"));
    TRect narrower{0, 0, c.TextWidth("eins") + 1, 0};
    EXPECT_EQ(c.DrawText("eins zwei drei", narrower, DT_WORDBREAK | DT_CALCRECT), 3 * lh);
    TRect tiny{0, 0, 3, 0};  // words wider than the box stay whole, one per line
    EXPECT_EQ(c.DrawText("eins zwei", tiny, DT_WORDBREAK | DT_CALCRECT), 2 * lh);
    TRect tabs{0, 0, 500, 0};
    c.DrawText("ab\tc", tabs, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(tabs.Right, c.TextWidth("ab      c"));
    TRect cut{0, 0, c.TextWidth("Installieren"), 0};
    c.DrawText("Installieren und Entpacken", cut, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(cut.Right, c.TextWidth("Installieren"));
    EXPECT_GT(cut.Right, c.TextWidth("Install"));
    TRect two{0, 0, 500, 0};
    EXPECT_EQ(c.DrawText("eins\r\nzwei", two, DT_CALCRECT), 2 * lh);
}

TEST(Text, OpaqueBackgroundAndClippedTextRect) {
    NoSmoothing guard;
    TBitmap b(100, 30);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clYellow);
    c.Font().SetColor(clBlue);
    c.TextOut(5, 5, "Hallo");
    EXPECT_EQ(b.Pixel(5, 5), clYellow);  // the cell behind the text is filled
    EXPECT_EQ(b.Pixel(4, 5), clWhite);
    EXPECT_EQ(c.PenPos().X, 5 + c.TextWidth("Hallo"));
    TBitmap r(100, 30);
    r.Canvas().Brush().SetStyle(bsClear);
    r.Canvas().Font().SetColor(clBlack);
    r.Canvas().TextRect({0, 0, 12, 30}, 2, 5, "WWWWWW");
    TRect ink = Ink(r);
    EXPECT_LE(ink.Right, 12);
    EXPECT_GT(ink.Right, 5);
}

TEST(Text, FontMappingFolderAndLogicalRecord) {
    TFontEngine& e = TFontEngine::Instance();
    EXPECT_NE(e.ResolveFile("Arial", false, false).find("LiberationSans"), std::string::npos);
    EXPECT_NE(e.ResolveFile("MS Sans Serif", true, false).find("LiberationSans-Bold"), std::string::npos);
    EXPECT_NE(e.ResolveFile("Verdana", false, false).find("DejaVuSans"), std::string::npos);
    EXPECT_EQ(e.ResolveFile("Webdings", false, false), "");

    // A fonts folder is searched before the system's fonts.
    std::string system = e.ResolveFile("Liberation Serif", false, false);
    ASSERT_FALSE(system.empty());
    auto dir = std::filesystem::temp_directory_path() / ("fonts_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(system, dir / "disc-serif.ttf",
                               std::filesystem::copy_options::overwrite_existing);
    e.AddFontFolder(dir.string());
    EXPECT_EQ(e.ResolveFile("Liberation Serif", false, false), (dir / "disc-serif.ttf").string());
    e.ResetFontFolders();
    std::filesystem::remove_all(dir);

    // The logical-font record round trip that the anti-aliased label performs.
    TFont f;
    f.SetName("Verdana");
    f.SetHeight(-11);
    f.SetStyle(fsBold | fsUnderline);
    f.SetColor(clRed);
    TLogFont lf = f.LogFont();
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    lf.lfQuality = ANTIALIASED_QUALITY;
    TFont g;
    int changes = 0;
    g.OnChange = [&] { ++changes; };
    g.SetLogFont(lf);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.Name(), "Verdana");
    EXPECT_EQ(g.Height(), -11);
    EXPECT_EQ(g.Style(), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(g.Quality(), fqAntialiased);
    SetFontSmoothing(false);
    EXPECT_TRUE(g.Antialiased());
    EXPECT_FALSE(f.Antialiased());  // default quality follows the desktop
    SetFontSmoothing(true);
    EXPECT_TRUE(f.Antialiased());
}

TEST(Text, FontsOnlyFromOneFolderNeverAskTheSystem) {
    TFontEngine& e = TFontEngine::Instance();
    e.ResetFontFolders();
    const std::string sans = e.ResolveFile("Liberation Sans", false, false);
    const std::string dejavu = e.ResolveFile("DejaVu Sans", false, false);
    ASSERT_FALSE(sans.empty());
    ASSERT_FALSE(dejavu.empty());
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("only_fonts_" + std::to_string(::getpid()));
    const fs::path empty = dir / "empty";
    fs::create_directories(empty);
    fs::copy_file(sans, dir / "a.ttf", fs::copy_options::overwrite_existing);
    fs::copy_file(dejavu, dir / "b.ttf", fs::copy_options::overwrite_existing);

    const int asked = e.FontconfigQueries();
    e.UseOnlyFontFolder(dir.string());
    // The stand-ins and the general fallback come from the folder, and the system is never asked.
    EXPECT_EQ(e.ResolveFile("Arial", true, false), (dir / "a.ttf").string());
    EXPECT_EQ(e.ResolveFile("Verdana", false, false), (dir / "b.ttf").string());
    EXPECT_EQ(e.ResolveFile("Some Face Nobody Has", false, false), (dir / "b.ttf").string());
    TBitmap b(60, 20);
    b.Canvas().Font().SetName("Arial");
    b.Canvas().Font().SetHeight(-14);
    const int width = b.Canvas().TextWidth("Kopieren");
    EXPECT_GT(width, 30);
    EXPECT_EQ(e.FontconfigQueries(), asked);

    // A folder without fonts: blank text that still takes room, and still no system fonts.
    e.UseOnlyFontFolder(empty.string());
    EXPECT_EQ(e.ResolveFile("Arial", false, false), "");
    b.Canvas().Font().SetHeight(-15);  // a face not yet cached
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect(TRect{0, 0, 60, 20});
    b.Canvas().TextOut(2, 2, "Kopieren");
    EXPECT_EQ(Ink(b).Right, 0);
    EXPECT_GT(b.Canvas().TextHeight("Xg"), 0);
    EXPECT_EQ(e.FontconfigQueries(), asked);

    // Back to the usual search, which may ask the system again.
    e.ResetFontFolders();
    EXPECT_NE(e.ResolveFile("Arial", false, false).find("LiberationSans"), std::string::npos);
    fs::remove_all(dir);
}

// Faces built into the program come after the folders added by hand and before the folder beside
// the program and the system; --fonts leaves them out. They draw as their files do.
TEST(Text, BuiltInFacesBetweenAddedFoldersAndTheSystem) {
    namespace fs = std::filesystem;
    TFontEngine& e = TFontEngine::Instance();
    e.ResetFontFolders();
    const std::string sans = e.ResolveFile("Liberation Sans", false, false);
    ASSERT_FALSE(sans.empty());
    std::ifstream in(sans, std::ios::binary);
    static std::vector<unsigned char> bytes;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    static const TBuiltinFontFile faces[] = {{"Built-Sans.ttf", bytes.data(), bytes.size()}};
    TBitmap b(60, 20);
    b.Canvas().Font().SetName("Arial");
    b.Canvas().Font().SetHeight(-14);
    const int fileWidth = b.Canvas().TextWidth("Kopieren");

    RegisterBuiltinFonts(faces);
    e.ResetFontFolders();
    EXPECT_EQ(e.ResolveFile("Arial", false, false), "<built-in>/Built-Sans.ttf");
    // The family with the style at hand wins over the right style elsewhere.
    EXPECT_EQ(e.ResolveFile("MS Sans Serif", true, false), "<built-in>/Built-Sans.ttf");
    EXPECT_NE(e.ResolveFile("Verdana", false, false).find("DejaVuSans"), std::string::npos);
    TBitmap c(60, 20);
    c.Canvas().Font().SetName("Arial");
    c.Canvas().Font().SetHeight(-14);
    EXPECT_EQ(c.Canvas().TextWidth("Kopieren"), fileWidth);

    const fs::path dir = fs::temp_directory_path() / ("builtin_fonts_" + std::to_string(::getpid()));
    fs::create_directories(dir / "empty");
    fs::copy_file(sans, dir / "added.ttf", fs::copy_options::overwrite_existing);
    e.AddFontFolder(dir.string());
    EXPECT_EQ(e.ResolveFile("Arial", false, false), (dir / "added.ttf").string());
    e.UseOnlyFontFolder((dir / "empty").string());
    EXPECT_EQ(e.ResolveFile("Arial", false, false), "");

    RegisterBuiltinFonts({});
    e.ResetFontFolders();
    EXPECT_EQ(e.ResolveFile("Arial", false, false), sans);
    fs::remove_all(dir);
}

TEST(Text, AFolderTakenOutOfTheSearchIsLetGo) {
    namespace fs = std::filesystem;
    TFontEngine& e = TFontEngine::Instance();
    e.ResetFontFolders();
    const std::string sans = e.ResolveFile("Liberation Sans", false, false);
    ASSERT_FALSE(sans.empty());
    const fs::path base = fs::temp_directory_path() / ("let_go_" + std::to_string(::getpid()));
    const fs::path first = base / "first", second = base / "second", third = base / "third";
    for (const fs::path& dir : {first, second, third}) {
        fs::create_directories(dir);
        fs::copy_file(sans, dir / "a.ttf", fs::copy_options::overwrite_existing);
    }
    TBitmap b(60, 20);
    b.Canvas().Font().SetName("Arial");
    auto draw = [&](int height) {
        b.Canvas().Font().SetHeight(height);
        return b.Canvas().TextWidth("Kopieren");
    };
    auto removed = [](const fs::path& dir) {
        std::error_code ec;
        fs::remove_all(dir, ec);
        return !ec && !fs::exists(dir);
    };
#ifdef _WIN32
    const bool canSeeMaps = false;
#else
    const bool canSeeMaps = true;
#endif

    e.UseOnlyFontFolder(first.string());
    const int width = draw(-14);
    EXPECT_GT(width, 30);
    if (canSeeMaps) {
        EXPECT_TRUE(Mapped(first / "a.ttf"));
    }
    // Another folder: the first one's file is closed, the new one's opened as its faces are drawn.
    e.UseOnlyFontFolder(second.string());
    if (canSeeMaps) {
        EXPECT_FALSE(Mapped(first / "a.ttf"));
    }
    EXPECT_TRUE(removed(first));
    EXPECT_EQ(draw(-14), width);
    // A folder added before the others lets go alike, and so does the way back to the start.
    e.AddFontFolder(third.string());
    EXPECT_GE(draw(-15), width);
    if (canSeeMaps) {
        EXPECT_TRUE(Mapped(third / "a.ttf"));
    }
    e.ResetFontFolders();
    if (canSeeMaps) {
        EXPECT_FALSE(Mapped(third / "a.ttf"));
    }
    EXPECT_TRUE(removed(third));
    EXPECT_TRUE(removed(base));
}

TEST(Text, TitleButtonSymbolsAreOurOwnGlyphs) {
    NoSmoothing guard;
    auto glyph = [](const char* ch) {
        TBitmap b(17, 17);
        TCanvas& c = b.Canvas();
        c.Brush().SetStyle(bsClear);
        c.Font().SetName("Webdings");
        c.Font().SetCharset(SYMBOL_CHARSET);
        c.Font().SetHeight(-12);
        c.Font().SetStyle(fsBold);
        c.Font().SetColor(clBlack);
        c.TextOut(2, 2, ch);
        return b;
    };
    TBitmap close = glyph("r"), minimise = glyph("0"), maximise = glyph("1"), restore = glyph("2");
    // The cross: both diagonals meet in the middle, the corners of the cell stay empty.
    EXPECT_EQ(close.Pixel(8, 8), clBlack);
    EXPECT_EQ(close.Pixel(5, 5), clBlack);
    EXPECT_EQ(close.Pixel(10, 5), clBlack);
    EXPECT_EQ(close.Pixel(8, 4), clWhite);
    // Minimise: a bar low in the cell, nothing above it.
    TRect m = Ink(minimise);
    EXPECT_GE(m.Top, 9);
    EXPECT_GT(m.Width(), 4);
    // Maximise: a frame with a hollow middle.
    EXPECT_EQ(maximise.Pixel(8, 8), clWhite);
    TRect mx = Ink(maximise);
    EXPECT_GT(mx.Width(), 6);
    EXPECT_EQ(maximise.Pixel(mx.Left, 8), clBlack);
    EXPECT_NE(Ink(restore), mx);
    EXPECT_GT(Ink(restore).Width(), 6);
}

// A picture at a desktop scale: text rasterised at its scaled size, not its 1x pixels enlarged.
TEST(Text, AtTwiceTheScaleGlyphEdgesLieOnTheFinerGrid) {
    auto draw = [](double scale) {
        TBitmap b;
        b.SetScaledSize(120, 20, scale);
        TCanvas& c = b.Canvas();
        c.Font().SetName("Verdana");
        c.Font().SetSize(8);
        c.TextOut(2, 2, "Rechtschreibprüfung");
        return b;
    };
    TBitmap one = draw(1), two = draw(2);
    ASSERT_EQ(two.Width(), 240);
    ASSERT_EQ(two.LogicalWidth(), 120);
    // 1x enlarged is made of uniform 2x2 blocks; real 2x text has edges inside the blocks.
    int split = 0, ink = 0;
    for (int y = 0; y + 1 < two.Height(); y += 2)
        for (int x = 0; x + 1 < two.Width(); x += 2) {
            const TColor p = two.Pixel(x, y);
            ink += one.Pixel(x / 2, y / 2) != clWhite;
            split += p != two.Pixel(x + 1, y) || p != two.Pixel(x, y + 1) || p != two.Pixel(x + 1, y + 1);
        }
    EXPECT_GT(ink, 100);
    EXPECT_GT(split, ink / 2) << "most inked blocks of real 2x text are not one colour";
    // The layout stays the logical one: the same measure at every scale.
    EXPECT_EQ(two.Canvas().TextWidth("Rechtschreibprüfung"), one.Canvas().TextWidth("Rechtschreibprüfung"));
}

TEST(Text, AtFractionalScalesNoGlyphIsCutAtTheBoxItWasMeasuredFor) {
    // Hinting makes some lines wider at 1.5x than 1.5 times their 1x width (the bold label of a
    // program page lost its colon that way): drawn clipped to the measured box, nothing may be lost
    // at its ends. (Accents that rise above the cell do so at 1 as well.)
    for (double scale : {1.25, 1.5, 1.75, 2.5}) {
        for (const char* text :
             {"Besonderheiten:", "Rechtschreibprüfung und 40 Briefvorlagen", "Wxyz fijl"}) {
            for (TFontStyles style : {TFontStyles(0), TFontStyles(fsBold)}) {
                TRect box;
                auto draw = [&](bool clipped) {
                    TBitmap b;
                    b.SetScaledSize(400, 30, scale);
                    TCanvas& c = b.Canvas();
                    c.Font().SetName("Verdana");
                    c.Font().SetSize(8);
                    c.Font().SetStyle(style);
                    c.Brush().SetStyle(bsClear);
                    box = {5, 5, 5 + c.TextWidth(text), 5 + c.TextHeight(text)};
                    c.DrawText(text, box, DT_SINGLELINE | DT_NOPREFIX | (clipped ? 0u : DT_NOCLIP));
                    return b;
                };
                const TBitmap clipped = draw(true), free = draw(false);
                int lost = 0;
                const TRect rows = ToPixels(box, scale);
                for (int y = rows.Top; y < rows.Bottom; ++y)
                    for (int x = 0; x < free.Width(); ++x) lost += clipped.Pixel(x, y) != free.Pixel(x, y);
                EXPECT_EQ(lost, 0) << text << " at " << scale << (style ? " bold" : "");
                EXPECT_NE(Ink(free).Right, 0) << text;
            }
        }
    }
}
