#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/InProcessSingleInstance.h"
#include "platform/posix/FlockSingleInstance.h"
#include "tests/platform/TempDir.h"

using platform::FlockSingleInstance;

namespace {

// Runs Acquire in a forked child (a second process) and reports what it learned.
bool AcquireInOtherProcess(const std::string& folder, const std::string& name) {
    const pid_t pid = fork();
    if (pid == 0) {
        FlockSingleInstance lock(folder);
        _exit(lock.Acquire(name) ? 0 : 3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    return WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(SingleInstance, SecondProcessLearnsAtOnceAndTheLockDiesWithItsHolder) {
    TempDir t;
    const std::string name = "vorlap";

    FlockSingleInstance first(t.Path());
    ASSERT_TRUE(first.Acquire(name));
    EXPECT_FALSE(AcquireInOtherProcess(t.Path(), name));
    // Another name is independent.
    EXPECT_TRUE(AcquireInOtherProcess(t.Path(), "other"));
    // A second holder in the same process is refused as well, as a named mutex would report.
    EXPECT_FALSE(first.Acquire(name));
    FlockSingleInstance sameProcess(t.Path());
    EXPECT_FALSE(sameProcess.Acquire(name));

    first.Release(name);
    EXPECT_TRUE(AcquireInOtherProcess(t.Path(), name));

    // A holder that is killed (no clean-up runs) leaves no stale lock behind.
    int ready[2], hold[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(hold), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        FlockSingleInstance lock(t.Path());
        const char ok = lock.Acquire(name) ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        char c;
        (void)!read(hold[0], &c, 1);  // blocks until killed
        _exit(0);
    }
    char got = 0;
    ASSERT_EQ(read(ready[0], &got, 1), 1);
    EXPECT_EQ(got, 'y');
    FlockSingleInstance probe(t.Path());
    EXPECT_FALSE(probe.Acquire(name));
    kill(holder, SIGKILL);
    int status;
    waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(probe.Acquire(name));
    for (int fd : {ready[0], ready[1], hold[0], hold[1]}) close(fd);
}

TEST(SingleInstance, ProgramsStartedByTheHolderDoNotInheritTheLock) {
    TempDir t;
    FlockSingleInstance lock(t.Path());
    ASSERT_TRUE(lock.Acquire("vorlap"));
    // A long-lived child started while the lock is held, as the menu starts programs.
    int in[2];
    ASSERT_EQ(pipe(in), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    char* argv[] = {const_cast<char*>("cat"), nullptr};
    pid_t child;
    ASSERT_EQ(posix_spawnp(&child, "cat", &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);

    lock.Release("vorlap");
    EXPECT_TRUE(AcquireInOtherProcess(t.Path(), "vorlap"));  // the child holds nothing

    close(in[1]);  // cat sees end of input and ends
    int status;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
}

TEST(SingleInstance, LockFileNameIsSafeAndInProcessLocksAreLocal) {
    FlockSingleInstance lock("/some/folder");
    EXPECT_EQ(lock.LockFile("../../etc/x y"), "/some/folder/cdmenu-______etc_x_y.lock");

    platform::InProcessSingleInstance local;
    EXPECT_TRUE(local.Acquire("vorlap"));
    EXPECT_FALSE(local.Acquire("vorlap"));
    EXPECT_TRUE(local.Acquire("other"));
    local.Release("vorlap");
    EXPECT_TRUE(local.Acquire("vorlap"));
}
