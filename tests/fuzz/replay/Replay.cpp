// FuzzCorpus.<target>: each fuzz target's entry point on every file of its corpus folder. A crash,
// a sanitizer finding or a failed check (the targets trap) ends the program; the handlers below
// first name the input. Hangs are bounded by the limits in the code and the targets (picture
// size, frame count, progress calls) and, beyond them, by the test's time-out in CTest.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct TFuzzEntry {
    const char* name;
    int (*run)(const uint8_t* data, size_t size);
};

#include "FuzzEntries.inc"

namespace fs = std::filesystem;

// The input being run, for the crash handlers (they may only write).
char currentInput[4096];

void SayWhich() {
    if (!currentInput[0]) return;
    const char head[] = "\nFuzzCorpus: the failing input is ";
    ssize_t ignored = write(2, head, sizeof head - 1);
    ignored = write(2, currentInput, strlen(currentInput));
    ignored = write(2, "\n", 1);
    (void)ignored;
}

void OnSignal(int signal) {
    SayWhich();
    ::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

// Present when a sanitizer runtime is linked: it reports, then calls back before the process ends.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the runtime's name for it
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

class FuzzCorpus : public testing::Test {
public:
    explicit FuzzCorpus(const TFuzzEntry& entry) : entry_(entry) {}

    void TestBody() override {
        const fs::path folder = fs::path(CDMENU_FUZZ_CORPUS) / entry_.name;
        ASSERT_TRUE(fs::is_directory(folder)) << folder << " is missing: every target keeps a corpus";
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        ASSERT_FALSE(files.empty()) << folder << " is empty";
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            ASSERT_TRUE(in) << file;
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            const std::string shown = std::string(entry_.name) + "/" + file.filename().string();
            std::snprintf(currentInput, sizeof currentInput, "%s", shown.c_str());
            try {
                // libFuzzer treats anything but 0 as reserved; the entry point returns 0.
                EXPECT_EQ(entry_.run(bytes.data(), bytes.size()), 0) << shown;
            } catch (const std::exception& e) {
                ADD_FAILURE() << shown << ": uncaught exception: " << e.what();
            } catch (...) {
                ADD_FAILURE() << shown << ": uncaught exception";
            }
        }
        currentInput[0] = 0;
        RecordProperty("inputs", int(files.size()));
    }

private:
    const TFuzzEntry& entry_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (__sanitizer_set_death_callback) {
        __sanitizer_set_death_callback(&SayWhich);
    } else {
        for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTERM}) signal(s, &OnSignal);
    }
    // The targets' scratch folders go into one folder of this run, removed at the end.
    std::string scratch = (fs::temp_directory_path() / "fuzz-replay-XXXXXX").string();
    if (!mkdtemp(scratch.data())) return 2;
    setenv("TMPDIR", scratch.c_str(), 1);
    for (const TFuzzEntry& entry : kFuzzEntries)
        testing::RegisterTest("FuzzCorpus", entry.name, nullptr, nullptr, __FILE__, __LINE__,
                              [&entry]() -> FuzzCorpus* { return new FuzzCorpus(entry); });
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}
