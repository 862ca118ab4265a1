#pragma once
// Running the built cdmenu on a private copy of the sample disc (CTest sets CDMENU_BUILD to the
// build root; the disc is <build>/disc).
#include <gtest/gtest.h>
#include "tests/support/CiSkip.h"

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

inline fs::path BuildRoot() {
    const char* env = std::getenv("CDMENU_BUILD");
    return env && *env ? fs::path(env) : fs::path();
}

inline fs::path Program() {
    return BuildRoot() / "cdmenu";
}

// A fresh folder for one test, removed afterwards.
struct Scratch {
    fs::path path;
    Scratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = fs::temp_directory_path() / ("cdmenu-e2e-" + std::to_string(::getpid()) + "-" +
                                            info->test_suite_name() + "-" + info->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Scratch() { fs::remove_all(path); }
};

// Copies the sample disc into dir/disc and returns that folder.
inline fs::path CopyDisc(const fs::path& dir) {
    fs::path disc = dir / "disc";
    fs::copy(BuildRoot() / "disc", disc, fs::copy_options::recursive);
    return disc;
}

struct RunResult {
    int code = -1;
    std::string output;  // stdout and stderr
};

// Runs argv (no shell; argv[0] looked up in PATH) in workDir, with the test's environment plus env.
// The display number xvfb-run -a starts looking from: one of this process's own, since two tests
// that start from the same number at the same time may both pick it and one of them fails.
inline std::string FirstFreeDisplay() {
    return std::to_string(100 + getpid() % 800);
}

inline RunResult RunCommand(std::vector<std::string> all, const fs::path& workDir,
                            const std::vector<std::pair<std::string, std::string>>& env = {}) {
    RunResult r;
    const fs::path out = workDir / "output.txt";
    pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        argv.reserve(all.size() + 1);
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        FILE* f = std::fopen(out.c_str(), "wb");
        if (!f) ::_exit(126);
        ::dup2(::fileno(f), 1);
        ::dup2(::fileno(f), 2);
        if (::chdir(workDir.c_str()) != 0) ::_exit(126);
        // In the sanitizer build: fontconfig keeps an allocation of its own past FcFini when HOME
        // points to a fresh folder; that is not the program's to free.
        const fs::path suppressions = workDir / "lsan-default.supp";
        if (FILE* s = std::fopen(suppressions.c_str(), "wb")) {
            std::fputs("leak:libfontconfig\nleak:libdbus\n", s);
            std::fclose(s);
            ::setenv("LSAN_OPTIONS", ("suppressions=" + suppressions.string()).c_str(), 1);
        }
        // Each run holds its own single-instance lock: a menu window another test has open at the
        // same time must not make this run hand over to it and end quietly.
        ::setenv("XDG_RUNTIME_DIR", workDir.c_str(), 1);
        for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::ifstream in(out, std::ios::binary);
    r.output.assign(std::istreambuf_iterator<char>(in), {});
    return r;
}

// Runs the program with args (no shell) in workDir, with the test's environment plus env; prefix
// (e.g. xvfb-run and its options) is looked up in PATH and runs the program.
inline RunResult Run(const std::vector<std::string>& args, const fs::path& workDir,
                     const std::vector<std::string>& prefix = {},
                     const std::vector<std::pair<std::string, std::string>>& env = {}) {
    std::vector<std::string> all = prefix;
    all.push_back(Program().string());
    all.insert(all.end(), args.begin(), args.end());
    return RunCommand(std::move(all), workDir, env);
}

inline std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// Skips the test when the program or the disc has not been built (a test binary run by hand; in CI
// that fails).
#define E2E_REQUIRE_PROGRAM()                                                                      \
    do {                                                                                           \
        if (e2e::BuildRoot().empty() || !std::filesystem::exists(e2e::Program()) ||                \
            !std::filesystem::exists(e2e::BuildRoot() / "disc" / "Menue.dat"))                     \
            CDMENU_SKIP_OUTSIDE_CI("set CDMENU_BUILD to a build with cdmenu and the sample disc"); \
    } while (0)

// A test on a copy of the sample disc (disc) in a scratch folder of its own (s); skipped as
// E2E_REQUIRE_PROGRAM says when the program or the disc has not been built.
class DiscCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        E2E_REQUIRE_PROGRAM();
        disc = CopyDisc(s.path);
    }

    Scratch s;
    fs::path disc;
};

}  // namespace e2e
