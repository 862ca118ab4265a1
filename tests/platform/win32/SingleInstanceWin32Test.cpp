// The named-mutex lock: a second holder learns at once, and a released name is free again.
#include <gtest/gtest.h>

#include "platform/ThreadPriority.h"
#include "platform/win32/MutexSingleInstance.h"

using platform::MutexSingleInstance;

TEST(SingleInstanceWin32, SecondHolderIsToldAndReleaseFreesTheName) {
    MutexSingleInstance first, second;
    ASSERT_TRUE(first.Acquire("cdmenu-test\\lock"));
    EXPECT_FALSE(first.Acquire("cdmenu-test\\lock"));   // the same holder twice
    EXPECT_FALSE(second.Acquire("cdmenu-test\\lock"));  // another holder: the system's object exists
    EXPECT_TRUE(second.Acquire("cdmenu-test-other"));
    first.Release("cdmenu-test\\lock");
    EXPECT_TRUE(second.Acquire("cdmenu-test\\lock"));
    second.Release("cdmenu-test\\lock");
    second.Release("never-held");  // harmless
    EXPECT_EQ(MutexSingleInstance::ObjectName("a\\b"), "Local\\cdmenu-a_b");
}

TEST(SingleInstanceWin32, ThreadPriorityStepsAreAccepted) {
    EXPECT_TRUE(platform::SetCurrentThreadPriority(2));
    EXPECT_TRUE(platform::SetCurrentThreadPriority(3));
}
