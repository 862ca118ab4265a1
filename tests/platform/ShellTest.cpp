#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "base/Cp1252.h"
#include "platform/RecordingShell.h"
#include "platform/posix/PosixShell.h"
#include "tests/platform/TempDir.h"

using platform::NativePath;
using platform::PosixShell;
using platform::RecordingShell;
using Argv = std::vector<std::string>;

TEST(Shell, RecordsTheExactArgumentVectorOfEveryCall) {
    TempDir t;
    const std::string tool = t.Write("PROGS/TOOL/START.SH", "#!/bin/sh\n", 0755);
    const std::string doc = t.Write("PROGS/TOOL/Liesmich.txt", "x", 0644);
    const std::string winExe = t.Write("PROGS/TOOL/SETUP.EXE", "MZ", 0755);
    const std::string odd = t.Write("-rf", "x", 0644);
    const NativePath paths(t.Path());
    RecordingShell shell(&paths);

    // Links go to the desktop's opener untouched (cp1252 -> UTF-8 only).
    EXPECT_TRUE(shell.Open("http://example.org/redirect.php4?project=7&url=a b;c"));
    EXPECT_TRUE(shell.Open("mailto:info@example.org"));
    EXPECT_TRUE(shell.Open(base::Cp("http://example.org/grüße")));
    // A path from the data: trimmed, mapped onto the disc and matched without regard to case.
    EXPECT_TRUE(shell.Open("  D:\\progs\\tool\\start.sh  "));
    EXPECT_TRUE(shell.Execute("D:\\PROGS\\TOOL\\LIESMICH.TXT"));
    // A Windows program goes to its handler even with an execute bit.
    EXPECT_TRUE(shell.Execute("D:\\PROGS\\TOOL\\setup.exe"));
    // A name that looks like an option is made into a path.
    EXPECT_TRUE(shell.Execute("D:\\-RF"));
    EXPECT_TRUE(shell.Explore("D:\\progs\\"));
    EXPECT_TRUE(shell.Explore(""));
    // Nothing to run: reported, recorded with an empty vector.
    EXPECT_FALSE(shell.Open("   "));

    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::vector<std::pair<std::string, Argv>> expected = {
        {"open", {"xdg-open", "http://example.org/redirect.php4?project=7&url=a b;c"}},
        {"open", {"xdg-open", "mailto:info@example.org"}},
        {"open", {"xdg-open", "http://example.org/grüße"}},
        {"open", {tool}},
        {"execute", {"xdg-open", doc}},
        {"execute", {"xdg-open", winExe}},
        {"execute", {"xdg-open", odd}},
        {"explore", {"xdg-open", t / "PROGS/"}},
        {"explore", {"xdg-open", cwd}},
        {"open", {}},
    };
    ASSERT_EQ(shell.Calls().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shell.Calls()[i].operation, expected[i].first) << i;
        EXPECT_EQ(shell.Calls()[i].argv, expected[i].second) << i;
    }
    EXPECT_EQ(shell.Calls()[3].target, "  D:\\progs\\tool\\start.sh  ");
    // An option-like name must reach the opener as a path.
    EXPECT_TRUE(shell.Execute("-x"));
    EXPECT_EQ(shell.Calls().back().argv, (Argv{"xdg-open", "./-x"}));
}

TEST(Shell, TellsLinksFromDrivesAndPaths) {
    EXPECT_TRUE(PosixShell::IsUrl("http://x"));
    EXPECT_TRUE(PosixShell::IsUrl("mailto:a@b"));
    EXPECT_TRUE(PosixShell::IsUrl("svn+ssh://h/r"));
    EXPECT_FALSE(PosixShell::IsUrl("C:\\x"));  // one letter is a drive
    EXPECT_FALSE(PosixShell::IsUrl("/usr/bin/x"));
    EXPECT_FALSE(PosixShell::IsUrl("1http://x"));
    EXPECT_FALSE(PosixShell::IsUrl("http"));
}

TEST(Shell, ExecutesAProgramDirectlyWithoutACommandInterpreter) {
    TempDir t;
    // The file name carries shell syntax; run through a shell it would create "pwned".
    const std::string script =
        t.Write("Run It;touch pwned.sh",
                "#!/bin/sh\nout=\"$(dirname \"$0\")/out.txt\"\necho \"ran in $(pwd)\" > \"$out\"\n"
                "while read -r key value; do case \"$key\" in SigBlk:|SigIgn:) "
                "echo \"$key\t$value\" >> \"$out\";; esac; done < /proc/$$/status\n",
                0755);
    const NativePath paths(t.Path());
    PosixShell shell(&paths, /*reapChildren=*/false);

    // Whatever the menu blocks or ignores must not reach the program it starts.
    sigset_t block, saved;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &block, &saved);
    struct sigaction ignore = {}, savedTerm = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGTERM, &ignore, &savedTerm);
    const bool started = shell.Execute("d:\\RUN IT;TOUCH PWNED.SH");
    sigaction(SIGTERM, &savedTerm, nullptr);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    ASSERT_TRUE(started);
    const pid_t pid = shell.LastProcessId();
    ASSERT_GT(pid, 0);
    int status = 0;
    // The script ends by itself; its exit is the signal that out.txt is complete.
    pid_t waited;
    do waited = waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    ASSERT_EQ(waited, pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // The started program runs in its own folder, not in the menu's current one.
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_NE(std::string(cwd), t.Path());
    const std::string out = TempDir::Read(t / "out.txt");
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "ran in " + t.Path() + "\n");
    // /proc lists the signal sets as hex masks, bit n-1 for signal n. The script reads them with
    // builtins only: while the shell waits for a child it blocks signals itself.
    auto mask = [&](const std::string& key) {
        const size_t at = out.find(key + ":\t");
        return at == std::string::npos ? ~0ull
                                       : std::stoull(out.substr(at + key.size() + 2, 16), nullptr, 16);
    };
    EXPECT_EQ(mask("SigBlk") & (1ull << (SIGUSR1 - 1)), 0u) << out;
    EXPECT_EQ(mask("SigIgn") & (1ull << (SIGTERM - 1)), 0u) << out;
    EXPECT_FALSE(std::filesystem::exists(t / "pwned"));
    EXPECT_FALSE(std::filesystem::exists(std::string(cwd) + "/pwned"));

    // A file with an execute bit that no loader understands cannot start; reported, not thrown.
    t.Write("broken", "\x01\x02 not a program", 0755);
    PosixShell direct(&paths, false);
    EXPECT_EQ(direct.ExecuteCommand("D:\\broken"), (Argv{t / "broken"}));
    EXPECT_FALSE(direct.Execute("D:\\broken"));
}

// The desktop's opener missing, or answering at once that it has nothing for the link: Open is
// false, so the menu can say so. One that keeps running (a browser it started) counts as opened.
TEST(Shell, AnOpenerThatIsMissingOrFailsAtOnceIsNoSuccess) {
    TempDir t;
    const std::string savedPath = getenv("PATH") ? getenv("PATH") : "";
    PosixShell shell;
    setenv("PATH", t.Path().c_str(), 1);
    const bool withoutOpener = shell.Open("http://example.org/");
    t.Write("xdg-open", "#!/bin/sh\nexit 3\n", 0755);
    const bool failingOpener = shell.Open("http://example.org/");
    t.Write("xdg-open", "#!/bin/sh\nexit 0\n", 0755);
    const bool workingOpener = shell.Open("http://example.org/");
    t.Write("xdg-open", "#!/bin/sh\nexec /bin/sleep 2\n", 0755);
    const bool lingeringOpener = shell.Open("http://example.org/");
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(withoutOpener);
    EXPECT_FALSE(failingOpener);
    EXPECT_TRUE(workingOpener);
    EXPECT_TRUE(lingeringOpener);
}
