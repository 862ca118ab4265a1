// The program's options: one reader for the command line and the environment, used by main() and
// by the tests, so that what the README documents is what the program does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/Start.h"

namespace {

// An empty value removes the variable.
void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    if (*value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

std::string ErrorOf(int argc, const char* const* argv) {
    try {
        ParseStartOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(StartOptions, CommandLineOverEnvironmentAndOneRuleForTheScale) {
    for (const char* name : {"CDMENU_HEADLESS", "CDMENU_SCALE", "CDMENU_ACCELERATED"}) SetEnv(name, "");
    const char* none[] = {"cdmenu"};
    TStartOptions o = ParseStartOptions(1, none);
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(o.scale, 0);
    EXPECT_FALSE(o.accelerated);
    const char* args[] = {"cdmenu", "--data", "x", "--headless", "--scale", "2"};
    o = ParseStartOptions(6, args);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.scale, 2);

    // A scale the window cannot have is a mistake said as such, on the command line and in the
    // environment alike.
    const char* silly[] = {"cdmenu", "--scale=99"};
    const std::string needs = " needs 0 (the desktop's factor) or a factor from 1 to 8, such as 1.5";
    EXPECT_EQ(ErrorOf(2, silly), "--scale" + needs);
    for (const char* bad : {"99", "0.5", "1,5", "1.5x", "-1"}) {
        SetEnv("CDMENU_SCALE", bad);
        EXPECT_EQ(ErrorOf(1, none), "CDMENU_SCALE" + needs) << bad;
    }

    // The README's CDMENU_SCALE=F sets the factor, a decimal with a point; --scale F overrides it.
    SetEnv("CDMENU_SCALE", "1.25");
    EXPECT_EQ(ParseStartOptions(1, none).scale, 1.25);
    EXPECT_EQ(ParseStartOptions(6, args).scale, 2);
    SetEnv("CDMENU_SCALE", "");

    SetEnv("CDMENU_ACCELERATED", "1");
    EXPECT_TRUE(ParseStartOptions(1, none).accelerated);
    SetEnv("CDMENU_ACCELERATED", "");
    SetEnv("CDMENU_HEADLESS", "1");
    EXPECT_TRUE(ParseStartOptions(1, none).headless);
    SetEnv("CDMENU_HEADLESS", "0");
    EXPECT_FALSE(ParseStartOptions(1, none).headless);
    SetEnv("CDMENU_HEADLESS", "");
}
