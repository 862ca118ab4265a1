#include "app/MenuResource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/TextHelpers.h"
#include "base/Exceptions.h"
#include "base/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "tests/support/MessageOf.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/GifWriter.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/common/WavWriter.h"

namespace {

std::string Gif(int width, uint8_t colour) {
    TGifImageSpec image;
    image.Width = width;
    image.Height = 1;
    image.Pixels.assign(static_cast<size_t>(width), colour);
    return TGifWriter().Header(width, 1, {0, 0, 0, 255, 255, 255}).Image(image).Trailer().Str();
}

std::string Wav(double frequency) {
    WavWriter wav(8000, 1, 8);
    wav.AddTone(frequency, 5);
    return TMenuDatWriter::Bytes(wav.Image());
}

// An odd-sized 8-bit logo, so that row padding and the colour table both matter.
std::string Logo8(int colours) {
    TBmpSpec spec;
    spec.Width = 5;
    spec.Height = 3;
    spec.BitCount = 8;
    for (int i = 0; i < colours; ++i) spec.Palette.push_back(uint32_t(i) * 0x010203u);
    for (int i = 0; i < 15; ++i) spec.Pixels.push_back(uint32_t(i % colours));
    return TBmpWriter::Write(spec);
}

TMenuDatWriter SampleMenu() {
    TMenuDatWriter w;
    w.ProjectField = "CD42~~~Sommerausgabe";
    w.Credits = {"Zusammenstellung: Anna Beispiel", "Redaktion: Ben & Co", "(c) 2026 Beispielverlag"};
    w.BannerTargets = {"www.example.org/eins", "www.example.org/zwei", "---"};
    w.Logo = Logo8(256);
    for (size_t slot = 0; slot < 7; ++slot) w.Sounds[slot] = Wav(300.0 + 100.0 * double(slot));
    for (size_t i = 0; i < 3; ++i) w.Gifs[i] = Gif(int(i) + 1, uint8_t(i % 2));
    return w;
}

TMenuResource Read(const std::string& file) {
    return ReadMenuResource(reinterpret_cast<const uint8_t*>(file.data()), file.size());
}

std::string Str(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

}  // namespace

TEST(MenuResource, ProjectIdIsTheTextBeforeTheFirstMarker) {
    EXPECT_EQ(ParseProjectId("ABC~~~rest"), "ABC");
    EXPECT_EQ(ParseProjectId("~~~ABC"), "");
    EXPECT_EQ(ParseProjectId("ABC"), "");
    EXPECT_EQ(ParseProjectId("A~~B~~~C~~~D"), "A~~B");
    // The field's text ends at its first zero byte: a marker behind it does not count.
    EXPECT_EQ(ParseProjectId(std::string("AB\0~~~", 6)), "");
    EXPECT_EQ(ParseProjectId(std::string("AB~~~\0XY~~~", 11)), "AB");
}

TEST(MenuResource, BannerLinksDifferInTrailingBlanksOfTheId) {
    const std::string prefix = RedirectPrefix();
    EXPECT_EQ(prefix.rfind("http://", 0), 0u);
    const std::string tail = "/redirect.php4?project=";
    EXPECT_EQ(prefix.substr(prefix.size() - tail.size()), tail);

    EXPECT_EQ(ComposeBannerLink(0, "ABC ", "x"), prefix + "ABC&url=x");
    EXPECT_EQ(ComposeBannerLink(1, "ABC ", "x"), prefix + "ABC &url=x");
    EXPECT_EQ(ComposeBannerLink(2, "ABC ", "x"), prefix + "ABC &url=x");
    EXPECT_EQ(ComposeBannerLink(0, "ABC\t\r", "x"), prefix + "ABC&url=x");
    // An empty id leaves the prefix's own last character, which is no blank.
    EXPECT_EQ(ComposeBannerLink(0, "", "x"), prefix + "&url=x");

    // Read from a file: the link keeps all 254 target bytes, the opened address ends at the first zero.
    TMenuDatWriter w = SampleMenu();
    w.ProjectField = "ABC ~~~";
    w.BannerTargets = {"x", "y", "---"};
    TMenuResource menu = Read(w.Build());
    EXPECT_EQ(menu.Header.ProjectId, "ABC ");
    EXPECT_EQ(menu.BannerLinks[0].size(), (prefix + "ABC&url=").size() + 254);
    EXPECT_EQ(menu.BannerUrl(0), prefix + "ABC&url=x");
    EXPECT_EQ(menu.BannerUrl(1), prefix + "ABC &url=y");
    EXPECT_EQ(menu.BannerUrl(2), prefix + "ABC &url=---");
    EXPECT_TRUE(menu.BannerPresent(0));
    EXPECT_TRUE(menu.BannerPresent(1));
    EXPECT_FALSE(menu.BannerPresent(2));
    // The absent banner's picture is read all the same.
    EXPECT_EQ(Str(menu.Banners[2]), w.Gifs[2]);
}

TEST(MenuResource, CreditsDoubleOnlyTheFirstAmpersand) {
    EXPECT_EQ(EscapeAmpersand("Ben & Co"), "Ben && Co");
    EXPECT_EQ(EscapeAmpersand("A&B&C"), "A&&B&C");
    EXPECT_EQ(EscapeAmpersand("ohne"), "ohne");
    EXPECT_EQ(UnescapeAmpersand("A&&B&C"), "A&B&C");
    EXPECT_EQ(UnescapeAmpersand(EscapeAmpersand("Q&A")), "Q&A");

    TMenuDatWriter w = SampleMenu();
    w.Credits[2] = std::string(150, 'x');  // a credit that fills its field has no zero byte
    TMenuResource menu = Read(w.Build());
    EXPECT_EQ(menu.Header.Credits[0], "Zusammenstellung: Anna Beispiel");
    EXPECT_EQ(menu.CreditCaptions[1], "Redaktion: Ben && Co");
    EXPECT_EQ(menu.Header.Credits[2], std::string(150, 'x'));
}

TEST(MenuResource, SizeFields) {
    EXPECT_EQ(ParseSizeField(std::string("  1234\0\0\0\0", 10)), 1234);
    EXPECT_EQ(ParseSizeField(std::string("7\0\0\0\0\0\0\0\0\0", 10)), 7);
    EXPECT_EQ(ParseSizeField("2147483647"), 2147483647);
    EXPECT_EQ(ParseSizeField("-5"), -5);
    EXPECT_EQ(MessageOf([] { ParseSizeField(std::string("12a\0\0\0\0\0\0\0", 10)); }),
              "'12a' ist kein g\xFCltiger Integerwert");
    EXPECT_EQ(MessageOf([] { ParseSizeField(std::string(10, '\0')); }),
              "'' ist kein g\xFCltiger Integerwert");
    EXPECT_EQ(MessageOf([] { ParseSizeField("9999999999"); }),
              "'9999999999' ist kein g\xFCltiger Integerwert");

    // In a file: blank-led fields read, a bad field stops the reading, the reserved field never does.
    TMenuDatWriter w = SampleMenu();
    w.SizeFieldOverride[3] = "  " + std::to_string(w.Sounds[0].size());
    w.Reserved = "frei";
    TMenuResource menu = Read(w.Build());
    EXPECT_EQ(Str(menu.SoundSlots[0]), w.Sounds[0]);
    EXPECT_EQ(menu.Header.Sizes[3], int32_t(w.Sounds[0].size()));
    w.SizeFieldOverride[4] = "zwei";
    EXPECT_EQ(MessageOf([&] { Read(w.Build()); }), "'zwei' ist kein g\xFCltiger Integerwert");
}

TEST(MenuResource, ReadsEveryBlobAtItsPlace) {
    TMenuDatWriter w = SampleMenu();
    const std::string file = w.Build();
    base::TMemoryStream stream(std::vector<uint8_t>(file.begin(), file.end()));
    TMenuResource menu = ReadMenuResource(stream);

    EXPECT_EQ(menu.Header.ProjectId, "CD42");
    EXPECT_EQ(menu.Header.ProjectField.size(), 100u);
    EXPECT_EQ(Str(menu.Logo), w.Logo);
    ASSERT_TRUE(menu.LogoBitmap);
    EXPECT_EQ(menu.LogoBitmap->Width(), 5);
    EXPECT_EQ(menu.LogoBitmap->Height(), 3);
    for (size_t slot = 0; slot < 7; ++slot) EXPECT_EQ(Str(menu.SoundSlots[slot]), w.Sounds[slot]) << slot;
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Str(menu.Banners[i]), w.Gifs[i]) << i;
    EXPECT_EQ(w.BlobOffsets()[0], MenuDat::kHeaderLength);
}

TEST(MenuResource, LogoConsumesHeadersTableAndPaddedRows) {
    // Each logo is followed by sound 0; a wrong logo length shifts every blob after it.
    auto check = [](const std::string& logo, const char* what) {
        TMenuDatWriter w = SampleMenu();
        w.Logo = logo;
        TMenuResource menu = Read(w.Build());
        EXPECT_EQ(Str(menu.Logo), logo) << what;
        EXPECT_TRUE(menu.LogoBitmap && menu.LogoBitmap->Width() > 0) << what;
        EXPECT_EQ(Str(menu.SoundSlots[0]), w.Sounds[0]) << what;
        EXPECT_EQ(Str(menu.Banners[2]), w.Gifs[2]) << what;
    };
    check(Logo8(256), "8 bits, colour count 0 = full table");
    check(Logo8(16), "8 bits, 16 colours stated");

    auto spec = [](int bits, int width, int height) {
        TBmpSpec s;
        s.Width = width;
        s.Height = height;
        s.BitCount = bits;
        if (bits <= 8) s.Palette.assign(size_t(1) << bits, 0x123456);
        s.Pixels.assign(size_t(width) * size_t(height), bits <= 8 ? 1 : 0x00ABCDEF);
        return s;
    };
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int width : {1, 3, 7, 33}) {
            TBmpSpec s = spec(bits, width, 4);
            check(TBmpWriter::Write(s), "plain");
            s.TopDown = true;
            check(TBmpWriter::Write(s), "top-down");
        }
    }
    TBmpSpec core = spec(4, 9, 2);
    core.InfoHeaderSize = 12;
    check(TBmpWriter::Write(core), "core header, three-byte entries");
    TBmpSpec v5 = spec(24, 10, 3);
    v5.InfoHeaderSize = 124;
    check(TBmpWriter::Write(v5), "v5 header");
    TBmpSpec v4 = spec(1, 17, 3);
    v4.InfoHeaderSize = 108;
    check(TBmpWriter::Write(v4), "v4 header with palette");

    // A logo that is no bitmap stops the reading with a message.
    TMenuDatWriter w = SampleMenu();
    w.Logo[0] = 'X';
    EXPECT_EQ(MessageOf([&] { Read(w.Build()); }), "Bitmap-Bild ist nicht g\xFCltig");
    w = SampleMenu();
    w.Logo[28] = 7;  // bit depth 7
    EXPECT_EQ(MessageOf([&] { Read(w.Build()); }), "Bitmap-Bild ist nicht g\xFCltig");
}

TEST(MenuResource, ShortFilesReportTheShortRead) {
    TMenuDatWriter w = SampleMenu();
    const std::string whole = w.Build();
    const auto at = w.BlobOffsets();
    // Cut inside each field and blob, and right at the start of each blob after the logo.
    std::vector<size_t> cuts = {0,         50,        100,   399,    1000,
                                1312,      1421,      1422,  1430,   at[0] + 100,
                                at[1] - 1, at[4] + 3, at[8], at[10], whole.size() - 1};
    for (size_t cut : cuts) {
        EXPECT_EQ(MessageOf([&] { Read(whole.substr(0, cut)); }), "Stream-Read-Fehler") << "cut at " << cut;
    }
    EXPECT_NO_THROW(Read(whole));
    EXPECT_THROW(Read(whole.substr(0, at[9])), base::EReadError);

    // A missing file names itself.
    EXPECT_EQ(MessageOf([] { LoadMenuResourceFile("/nonexistent/Menue.dat"); }),
              "Datei /nonexistent/Menue.dat kann nicht ge\xF6"
              "ffnet werden");
}

TEST(MenuResource, SizeFieldsOfZeroOrBelowReadNothing) {
    TMenuDatWriter w = SampleMenu();
    w.Sounds[2].clear();
    w.SizeFieldOverride[5] = "0";
    w.Sounds[4].clear();
    w.SizeFieldOverride[7] = "-40";
    w.Gifs[1].clear();
    w.SizeFieldOverride[1] = "-2147483648";
    TMenuResource menu = Read(w.Build());
    EXPECT_TRUE(menu.SoundSlots[2].empty());
    EXPECT_TRUE(menu.SoundSlots[4].empty());
    EXPECT_EQ(Str(menu.SoundSlots[3]), w.Sounds[3]);
    EXPECT_EQ(Str(menu.SoundSlots[5]), w.Sounds[5]);
    EXPECT_EQ(Str(menu.Banners[2]), w.Gifs[2]);
    EXPECT_TRUE(menu.Banners[1].empty());
    EXPECT_FALSE(menu.BannerPresent(1));

    // A size past the end of the file fails without reading (or allocating) past it.
    w = SampleMenu();
    w.SizeFieldOverride[9] = "2147483647";
    EXPECT_THROW(Read(w.Build()), base::EReadError);
    w = SampleMenu();
    w.SizeFieldOverride[2] = std::to_string(w.Gifs[2].size() + 1);
    EXPECT_THROW(Read(w.Build()), base::EReadError);
}

TEST(MenuResource, BannerBlobsThatAreNoGifPicturesAreReadAsTheyAre) {
    // Only the banner's own control finds out; the file serves the menu all the same.
    TMenuDatWriter w = SampleMenu();
    w.Gifs[1] = "GIF90a" + w.Gifs[1].substr(6);
    EXPECT_EQ(Str(Read(w.Build()).Banners[1]), w.Gifs[1]);
    w = SampleMenu();
    w.Gifs[0] = "GIF8";
    TMenuResource menu = Read(w.Build());
    EXPECT_EQ(Str(menu.Banners[0]), "GIF8");
    EXPECT_EQ(Str(menu.SoundSlots[6]), w.Sounds[6]);
    w = SampleMenu();
    w.Gifs[2] = "GIF87a";
    EXPECT_EQ(Str(Read(w.Build()).Banners[2]), "GIF87a");
}

TEST(MenuResource, LoadsFromAFileAndFromTheStreamPosition) {
    TMenuDatWriter w = SampleMenu();
    const std::string file = w.Build();
    auto path = std::filesystem::temp_directory_path() /
                ("menue-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".dat");
    {
        std::ofstream out(path, std::ios::binary);
        out << file;
    }
    TMenuResource menu = LoadMenuResourceFile(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(Str(menu.SoundSlots[6]), w.Sounds[6]);

    std::string prefixed = "JUNK" + file;
    base::TMemoryStream stream(std::vector<uint8_t>(prefixed.begin(), prefixed.end()));
    stream.SetPosition(4);
    EXPECT_EQ(ReadMenuResource(stream).Header.ProjectId, "CD42");
}
