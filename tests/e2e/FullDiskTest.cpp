// The program unpacking and copying onto a disk that is really full, and onto one that is really
// write-protected: a small tmpfs that the test mounts in a mount namespace of its own (unshare
// -Urm needs no privileges where user namespaces are allowed). The program runs a script on the
// sample disc; what is left on the disk is listed before the namespace ends.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ProgramRun.h"
#include "base/Cp1252.h"
#include "tests/support/CiSkip.h"

using e2e::fs::path;

namespace {

// Mounts a 128 KiB tmpfs on $1 holding the user's own files in ziel/; "full" fills the rest,
// "ro" makes it read-only; then runs the rest of the arguments and lists what ziel/ holds.
const char* const kMountScript = R"sh(set -u
disk=$1; mode=$2; shift 2
mount -t tmpfs -o size=128k,mode=0755 cdmenu-test "$disk" || exit 90
mkdir -p "$disk/ziel/Webseitenbauer/daten"
printf 'meine Daten' > "$disk/ziel/Webseitenbauer/daten/beispiel.txt"
printf 'alt' > "$disk/ziel/webseitenbauer.zip"
if [ "$mode" = full ]; then dd if=/dev/zero of="$disk/fueller" bs=4096 >/dev/null 2>&1; fi
if [ "$mode" = ro ]; then mount -o remount,ro "$disk" || exit 91; fi
"$@"
rc=$?
(cd "$disk/ziel" && find . -mindepth 1 ! -type d | sort) > listing.txt
cat "$disk/ziel/Webseitenbauer/daten/beispiel.txt" > kept-unpack.txt
cat "$disk/ziel/webseitenbauer.zip" > kept-copy.txt
exit $rc
)sh";

// Opens Webseitenbauer (the second program of "Internet & Kommunikation"), whose install path is an
// archive; the target folder is answered through "Durchsuchen...".
std::string OpenProgramAnd(const std::string& button, const std::string& target, const std::string& then) {
    return "click bRubrik6\nkey Down\nexpect-caption gbProgramm Webseitenbauer\nfolder " + target +
           "\nclick " + button + "\nclick SelFolderForm.Button3\nclick SelFolderForm.Button1\n" + then;
}

bool CanMountTmpfs(const path& dir) {
    const std::string probe =
        "unshare -Urm sh -c 'mount -t tmpfs -o size=64k none \"" + dir.string() + "\"' >/dev/null 2>&1";
    return std::system(probe.c_str()) == 0;
}

struct DiskRun {
    e2e::RunResult result;
    std::string listing, keptUnpack, keptCopy;
};

DiskRun RunOnDisk(const e2e::Scratch& s, const path& disc, const std::string& mode,
                  const std::string& script) {
    const path disk = s.path / "platte";
    e2e::fs::create_directories(disk);
    e2e::WriteText(s.path / "mount.sh", kMountScript);
    e2e::WriteText(s.path / "script.txt", script);
    DiskRun r;
    r.result =
        e2e::Run({"--headless", "--data", disc.string(), "--root", disc.string(), "--script",
                  (s.path / "script.txt").string()},
                 s.path, {"unshare", "-Urm", "sh", (s.path / "mount.sh").string(), disk.string(), mode});
    r.listing = e2e::ReadText(s.path / "listing.txt");
    r.keptUnpack = e2e::ReadText(s.path / "kept-unpack.txt");
    r.keptCopy = e2e::ReadText(s.path / "kept-copy.txt");
    return r;
}

// The user's files as the script found them, and no other file. (Folders of the archive made
// before the disk ran full stay, empty, as files copied before a failure do.)
const std::string kUsersFilesOnly = "./Webseitenbauer/daten/beispiel.txt\n./webseitenbauer.zip\n";

#define REQUIRE_TMPFS(dir)                                                                         \
    do {                                                                                           \
        if (!CanMountTmpfs(dir))                                                                   \
            CDMENU_SKIP_OUTSIDE_CI("no tmpfs can be mounted here (unshare -Urm, mount -t tmpfs)"); \
    } while (0)

// A copy of the sample disc and a target folder on the small disk the test mounts.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        E2E_REQUIRE_PROGRAM();
        REQUIRE_TMPFS(s.path);
        disc = e2e::CopyDisc(s.path);
        target = (s.path / "platte" / "ziel").string();
    }

    e2e::Scratch s;
    path disc;
    std::string target;
};

}  // namespace

TEST_F(FullDisk, UnpackAndCopyOntoAFullDiskKeepTheUsersFiles) {
    DiskRun unpack = RunOnDisk(
        s, disc, "full", OpenProgramAnd("bInstallieren", target, "expect-box Datentr\xC3\xA4ger voll\n"));
    EXPECT_EQ(unpack.result.code, 0) << unpack.result.output;
    EXPECT_EQ(unpack.listing, kUsersFilesOnly) << "a half-written file is left";
    EXPECT_EQ(unpack.keptUnpack, "meine Daten");

    DiskRun copy = RunOnDisk(
        s, disc, "full",
        "answer Yes\n" + OpenProgramAnd("bKopieren", target,
                                        "expect-box nicht gen\xC3\xBCgend Speicherplatz\n"
                                        "expect-box webseitenbauer.zip kann nicht geschrieben werden\n"));
    EXPECT_EQ(copy.result.code, 0) << copy.result.output;
    EXPECT_EQ(copy.listing, kUsersFilesOnly) << "a half-written file is left";
    EXPECT_EQ(copy.keptCopy, "alt");
}

TEST_F(FullDisk, WriteProtectedTargetIsReportedAndLeftAlone) {
    DiskRun unpack = RunOnDisk(
        s, disc, "ro", OpenProgramAnd("bInstallieren", target, "expect-box kann nicht angelegt werden\n"));
    EXPECT_EQ(unpack.result.code, 0) << unpack.result.output;
    EXPECT_EQ(unpack.listing, kUsersFilesOnly);
    EXPECT_EQ(unpack.keptUnpack, "meine Daten");

    DiskRun copy = RunOnDisk(
        s, disc, "ro",
        "answer Yes\n" + OpenProgramAnd("bKopieren", target, "expect-box schreibgesch\xC3\xBCtzt\n"));
    EXPECT_EQ(copy.result.code, 0) << copy.result.output;
    EXPECT_EQ(copy.listing, kUsersFilesOnly);
    EXPECT_EQ(copy.keptCopy, "alt");
}
