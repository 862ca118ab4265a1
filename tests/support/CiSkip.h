#pragma once
// A test that cannot run on this machine: skipped on a developer's machine, a failure in CI
// (CI=true), where the project's own set-up installs everything the tests need.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace testsupport {

inline bool InCi() {
    const char* ci = std::getenv("CI");
    if (!ci) return false;
    const std::string v = ci;
    return !v.empty() && v != "0" && v != "false";
}

}  // namespace testsupport

#define CDMENU_SKIP_OUTSIDE_CI(why)                                               \
    do {                                                                          \
        if (::testsupport::InCi()) GTEST_FAIL() << "cannot run in CI: " << (why); \
        GTEST_SKIP() << (why);                                                    \
    } while (0)
