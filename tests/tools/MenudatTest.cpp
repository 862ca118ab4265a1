// menudat as a disc author runs it: pack a folder, list the result, extract it again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/MenuResource.h"
#include "base/Cp1252.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/GifWriter.h"
#include "tools/common/MenuDatWriter.h"
#include "tools/common/WavWriter.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

fs::path MenudatProgram() {
    if (const char* build = std::getenv("CDMENU_BUILD")) return fs::path(build) / "menudat";
    const fs::path self = fs::read_symlink("/proc/self/exe").parent_path();
    return fs::exists(self / "menudat") ? self / "menudat" : self.parent_path() / "menudat";
}

struct Result {
    int Exit = -1;
    std::string Output;  // stdout and stderr together
};

Result RunMenudat(const std::vector<std::string>& args, const fs::path& scratch) {
    const fs::path log = scratch / "menudat.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const std::string program = MenudatProgram().string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    Result run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        run.Output = "cannot start " + program;
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    run.Output = text.str();
    return run;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

class Menudat : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ =
            fs::temp_directory_path() / ("menudat-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(scratch_);
        fs::create_directories(src_ = scratch_ / "src");
        TBmpSpec logo;
        logo.Width = 7;
        logo.Height = 5;
        logo.BitCount = 4;
        logo.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
        for (int i = 0; i < 35; ++i) logo.Pixels.push_back(uint32_t(i % 4));
        files_["logo.bmp"] = TBmpWriter::Write(logo);
        for (int i = 0; i < 7; ++i) {
            WavWriter wav(11025, 1, 16);
            wav.AddTone(220.0 * (i + 1), 20);
            files_["sound" + std::to_string(i) + ".wav"] = TMenuDatWriter::Bytes(wav.Image());
        }
        for (int i = 1; i <= 3; ++i) {
            TGifImageSpec image;
            image.Width = i;
            image.Height = 2;
            image.Pixels.assign(2 * size_t(i), 1);
            files_["banner" + std::to_string(i) + ".gif"] =
                TGifWriter().Header(i, 2, {0, 0, 0, 255, 255, 255}).Image(image).Trailer().Str();
        }
        files_["menu.txt"] =
            "# sample\n"
            "project = \"CD 7 \"\n"
            "project-rest = Winter\n"
            "credit1 = Zusammenstellung: Jörg Müller\n"
            "credit2 = Redaktion: Ben & Co\n"
            "credit3 = (c) 2026 Beispielverlag\n"
            "banner1 = www.example.org/eins\n"
            "banner2 = www.example.org/zwei\n";
        for (const auto& [name, bytes] : files_) Spit(src_ / name, bytes);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    fs::path scratch_, src_;
    std::map<std::string, std::string> files_;
};

}  // namespace

TEST_F(Menudat, PackListExtractRoundTrip) {
    const fs::path dat = scratch_ / "Menue.dat";
    Result pack = RunMenudat({"pack", src_.string(), dat.string()}, scratch_);
    ASSERT_EQ(pack.Exit, 0) << pack.Output;

    const std::string image = Slurp(dat);
    TMenuResource menu = ReadMenuResource(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    EXPECT_EQ(menu.Header.ProjectField.substr(0, 15), std::string("CD 7 ~~~Winter\0", 15));
    EXPECT_EQ(menu.Header.ProjectId, "CD 7 ");
    EXPECT_EQ(menu.Header.Credits[0], base::Cp("Zusammenstellung: Jörg Müller"));
    EXPECT_EQ(menu.CreditCaptions[1], "Redaktion: Ben && Co");
    EXPECT_EQ(menu.BannerUrl(0), RedirectPrefix() + "CD 7&url=www.example.org/eins");
    EXPECT_EQ(menu.BannerUrl(1), RedirectPrefix() + "CD 7 &url=www.example.org/zwei");
    EXPECT_FALSE(menu.BannerPresent(2));  // banner3 defaults to absent
    EXPECT_EQ(TMenuDatWriter::Bytes(menu.Logo), files_["logo.bmp"]);
    EXPECT_EQ(TMenuDatWriter::Bytes(menu.SoundSlots[4]), files_["sound4.wav"]);
    EXPECT_EQ(TMenuDatWriter::Bytes(menu.Banners[2]), files_["banner3.gif"]);

    // list names every blob at its offset.
    Result list = RunMenudat({"list", dat.string()}, scratch_);
    EXPECT_EQ(list.Exit, 0) << list.Output;
    EXPECT_NE(list.Output.find("project id        \"CD 7 \""), std::string::npos) << list.Output;
    EXPECT_NE(list.Output.find("logo     offset 1422  size " + std::to_string(files_["logo.bmp"].size())),
              std::string::npos)
        << list.Output;
    const size_t sound0 = 1422 + files_["logo.bmp"].size();
    EXPECT_NE(list.Output.find("sound 0  offset " + std::to_string(sound0) + "  size " +
                               std::to_string(files_["sound0.wav"].size())),
              std::string::npos)
        << list.Output;
    EXPECT_NE(list.Output.find("end of data       " + std::to_string(image.size())), std::string::npos);
    EXPECT_NE(list.Output.find("no problems found"), std::string::npos);

    // extract gives back every file, and packing the extracted folder gives the same bytes.
    const fs::path out = scratch_ / "out";
    Result extract = RunMenudat({"extract", dat.string(), out.string()}, scratch_);
    ASSERT_EQ(extract.Exit, 0) << extract.Output;
    for (const auto& [name, bytes] : files_) {
        if (name == "menu.txt") continue;
        EXPECT_EQ(Slurp(out / name), bytes) << name;
    }
    const fs::path again = scratch_ / "again.dat";
    ASSERT_EQ(RunMenudat({"pack", out.string(), again.string()}, scratch_).Exit, 0);
    EXPECT_EQ(Slurp(again), image);
}

TEST_F(Menudat, BadInputIsRefusedWithAReason) {
    const fs::path dat = scratch_ / "Menue.dat";
    auto packWith = [&](const std::string& file, const std::string& bytes) {
        Spit(src_ / file, bytes);
        Result run = RunMenudat({"pack", src_.string(), dat.string()}, scratch_);
        Spit(src_ / file, files_[file]);
        return run;
    };
    auto expectRefused = [&](const Result& run, const std::string& reason) {
        EXPECT_EQ(run.Exit, 1) << run.Output;
        EXPECT_NE(run.Output.find(reason), std::string::npos) << run.Output;
        EXPECT_FALSE(fs::exists(dat));
    };
    expectRefused(packWith("menu.txt", files_["menu.txt"] + "credit4 = x\n"), "unknown key \"credit4\"");
    expectRefused(packWith("menu.txt", files_["menu.txt"] + "banner1 = doppelt\n"),
                  "\"banner1\" given twice");
    expectRefused(packWith("menu.txt", "credit1 = x\nbanner1 = y\n"), "project id is missing");
    expectRefused(packWith("menu.txt", files_["menu.txt"] + "logo = fehlt.bmp\n"),
                  "fehlt.bmp: cannot be opened");
    expectRefused(packWith("menu.txt", "project = P\nbanner1 = y\ncredit2 = " + std::string(151, 'x') + "\n"),
                  "151 bytes long; the field holds 150");
    expectRefused(packWith("menu.txt", "project = P\nbanner1 = y\ncredit2 = \xE2\x82\xAC \xE2\x98\x83\n"),
                  "line 3: a character that the menu's code page lacks");
    expectRefused(packWith("logo.bmp", files_["logo.bmp"] + "xx"), "logo.bmp: the headers account for");
    expectRefused(packWith("logo.bmp", "not a bitmap at all"), "logo.bmp: not a bitmap");
    expectRefused(packWith("sound3.wav", "RIFX" + files_["sound3.wav"].substr(4)),
                  "sound3.wav: not a RIFF WAVE file");
    expectRefused(packWith("banner2.gif", "GIF90a"), "banner2.gif: not a GIF file");

    EXPECT_EQ(RunMenudat({"pack", src_.string()}, scratch_).Exit, 2);
    EXPECT_EQ(RunMenudat({"unpack", "a", "b"}, scratch_).Exit, 2);
    Result missing = RunMenudat({"list", (scratch_ / "nirgends.dat").string()}, scratch_);
    EXPECT_EQ(missing.Exit, 1);
    EXPECT_NE(missing.Output.find("nirgends.dat: cannot be opened"), std::string::npos) << missing.Output;
}

TEST_F(Menudat, ListNamesWhatIsWrong) {
    TMenuDatWriter w;
    w.ProjectField = "P~~~";
    w.BannerTargets = {"a", "b", "---"};
    w.Logo = files_["logo.bmp"];
    for (int i = 0; i < 7; ++i) w.Sounds[size_t(i)] = files_["sound" + std::to_string(i) + ".wav"];
    for (int i = 0; i < 3; ++i) w.Gifs[size_t(i)] = files_["banner" + std::to_string(i + 1) + ".gif"];
    const fs::path dat = scratch_ / "damaged.dat";
    auto listOf = [&](const TMenuDatWriter& variant) {
        Spit(dat, variant.Build());
        return RunMenudat({"list", dat.string()}, scratch_);
    };
    auto expectProblem = [&](const Result& run, const std::string& problem) {
        EXPECT_EQ(run.Exit, 1) << run.Output;
        EXPECT_NE(run.Output.find(problem), std::string::npos) << run.Output;
    };

    TMenuDatWriter v = w;
    v.TruncateAt = w.BlobOffsets()[5] + 3;
    Result cut = listOf(v);
    expectProblem(cut, "sound 4 (" + std::to_string(w.Sounds[4].size()) + " bytes at offset " +
                           std::to_string(w.BlobOffsets()[5]) + ") runs past the end of the file");
    expectProblem(cut, "GIF 1: not located");
    expectProblem(cut, "the menu stops reading this file with: Stream-Read-Fehler");

    v = w;
    v.TruncateAt = 700;
    expectProblem(listOf(v), "inside the header");

    v = w;
    v.SizeFieldOverride[5] = "0";
    v.Sounds[2].clear();
    expectProblem(listOf(v), "the size of sound 2 is 0: the blob is left empty");

    v = w;
    v.SizeFieldOverride[1] = "zwölf";
    Result word = listOf(v);
    expectProblem(word, "the size field of GIF 2 is not a decimal number");
    expectProblem(word, "GIF 2 and everything after it cannot be located");

    v = w;
    v.Trailing = "rest";
    expectProblem(listOf(v), "4 bytes after GIF 3 are never read");

    v = w;
    v.ProjectField = "ohne Marke";
    v.Sounds[0] = "RIFX" + v.Sounds[0].substr(4);
    Result marks = listOf(v);
    expectProblem(marks, "the project field has no \"~~~\"");
    expectProblem(marks, "sound 0 is not a RIFF WAVE image");
}
