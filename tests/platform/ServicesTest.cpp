#include "platform/Services.h"

#include <gtest/gtest.h>

#include "platform/RecordingShell.h"
#include "platform/RecordingSound.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"
#include "tools/common/WavWriter.h"

TEST(Services, HeadlessRunsRecordInsteadOfStartingAndPlaying) {
    platform::ServiceSet& s = platform::Services();
    ASSERT_NE(s.shell, nullptr);
    ASSERT_NE(s.sound, nullptr);
    ASSERT_NE(s.volume, nullptr);
    ASSERT_NE(s.singleInstance, nullptr);
    EXPECT_EQ(platform::ActiveRecordings().shell, nullptr);

    const platform::RecordingServices rec = platform::UseRecordingServices();
    ASSERT_NE(rec.shell, nullptr);
    ASSERT_NE(rec.sound, nullptr);
    EXPECT_EQ(platform::ActiveRecordings().sound, rec.sound);

    // Whatever the program calls through the active set lands in the recordings.
    EXPECT_TRUE(platform::Services().shell->Open("http://example.org/"));
    ASSERT_EQ(rec.shell->Calls().size(), 1u);
    EXPECT_EQ(rec.shell->Calls()[0].argv, (std::vector<std::string>{"xdg-open", "http://example.org/"}));

    WavWriter w;
    w.AddSilence(5);
    const std::vector<uint8_t> wav = w.Image();
    EXPECT_TRUE(platform::Services().sound->Play(wav.data(), wav.size(), {}));
    ASSERT_NE(rec.sound->LastPlayed(), nullptr);
    EXPECT_EQ(rec.sound->LastPlayed()->image, wav.data());

    // The instance lock of a headless run is local: it never meets a menu running on this machine.
    EXPECT_TRUE(platform::Services().singleInstance->Acquire("vorlap"));
    EXPECT_FALSE(platform::Services().singleInstance->Acquire("vorlap"));
}
