// The Windows shell hands ShellExecuteW the resolved target and runs a file in its own folder; the
// recording shell plans with it. The sound output refuses what is no wave image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingShell.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Sound.h"
#include "tests/platform/win32/WinTempDir.h"

using namespace platform;

TEST(Win32Shell, TargetsAreResolvedAndFilesRunInTheirOwnFolder) {
    WinTempDir t;
    NativePath paths(t.Path() + "/");
    Win32Shell shell(&paths);
    const std::vector<std::string> run = shell.ExecuteCommand("D:\\Programme\\Setup.exe");
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[0], "open");
    EXPECT_EQ(run[1], t.Path() + "/Programme/Setup.exe");
    EXPECT_EQ(shell.WorkingFolder("D:\\Programme\\Setup.exe"), t.Path() + "/Programme/");
    // A URL goes to its handler unchanged and has no folder.
    EXPECT_EQ(shell.OpenCommand(" http://example.org/a b "),
              (std::vector<std::string>{"open", "http://example.org/a b"}));
    EXPECT_EQ(shell.WorkingFolder("mailto:someone@example.org"), "");
    EXPECT_EQ(shell.ExploreCommand("D:\\Bilder"),
              (std::vector<std::string>{"explore", t.Path() + "/Bilder"}));
    EXPECT_TRUE(shell.ExecuteCommand("  ").empty());
    EXPECT_FALSE(shell.Execute(""));

    RecordingShell recorder(&paths);
    EXPECT_TRUE(recorder.Execute("D:\\Programme\\Setup.exe"));
    ASSERT_EQ(recorder.Calls().size(), 1u);
    EXPECT_EQ(recorder.Calls()[0].argv, run);
    EXPECT_EQ(recorder.Calls()[0].folder, t.Path() + "/Programme/");
}

TEST(Win32Sound, WhatIsNoWaveImageIsRefused) {
    Win32Sound sound;
    const char text[] = "RIFF\x04\x00\x00\x00WAVE";  // a header without chunks
    EXPECT_FALSE(sound.Play(reinterpret_cast<const uint8_t*>(text), sizeof text - 1, {}));
    EXPECT_FALSE(sound.Play(nullptr, 0, {}));
    EXPECT_FALSE(sound.PlayFile("D:\\fehlt.wav", {}));
    EXPECT_TRUE(sound.Stop());
}
