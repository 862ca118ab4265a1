// TWavePlayer over the recording sound output: flags, loop rules, events and what reaches the output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/WavePlayer.h"
#include "platform/RecordingSound.h"
#include "platform/Services.h"
#include "tools/common/WavWriter.h"

namespace {

std::vector<uint8_t> Tone(double hz) {
    WavWriter w(11025, 1, 8);
    w.AddTone(hz, 30);
    return w.Image();
}

}  // namespace

TEST(WavePlayer, LoopNeedsAsyncAndFlagsFollowTheLocation) {
    media::TWavePlayer player(nullptr);
    EXPECT_FALSE(player.Async());
    EXPECT_EQ(player.WaveLocation(), media::wlFile);
    // Loop without Async is refused.
    player.SetLoop(true);
    EXPECT_FALSE(player.Loop());
    player.SetAsync(true);
    player.SetLoop(true);
    EXPECT_TRUE(player.Loop());
    // Async off takes Loop with it, and it does not come back with Async.
    player.SetAsync(false);
    EXPECT_FALSE(player.Loop());
    player.SetAsync(true);
    EXPECT_FALSE(player.Loop());

    EXPECT_EQ(player.PlayFlags(), media::TWavePlayer::kSndFilename | media::TWavePlayer::kSndAsync);
    player.SetWaveLocation(media::wlResource);
    player.SetLoop(true);
    EXPECT_EQ(player.PlayFlags(), 0x40004u | 0x0008u | 0x0001u);
    // The menu's settings: from memory, asynchronous, once: 0x0005; stopping uses the base flag.
    player.SetLoop(false);
    player.SetWaveLocation(media::wlRAM);
    EXPECT_EQ(player.PlayFlags(), 0x0005u);
    EXPECT_EQ(player.BaseFlags(), 0x0004u);
    player.SetAsync(false);
    EXPECT_EQ(player.PlayFlags(), 0x0004u);
}

TEST(WavePlayer, PlaysFromMemoryWithEventsAndStops) {
    platform::RecordingSound* sound = platform::UseRecordingServices().sound;
    sound->Clear();
    const std::vector<uint8_t> first = Tone(440), second = Tone(880);
    media::TWavePlayer player(nullptr);
    player.SetAsync(true);
    player.SetWaveLocation(media::wlRAM);
    std::vector<std::string> events;
    player.BeforePlay = [&](gui::TComponent*) {
        events.push_back("before " + std::to_string(sound->Calls().size()));
    };
    player.AfterPlay = [&](gui::TComponent*) {
        events.push_back("after " + std::to_string(sound->Calls().size()));
    };

    player.SetWaveMemory(first.data(), first.size());
    EXPECT_TRUE(player.Play());
    ASSERT_EQ(sound->Calls().size(), 1u);
    EXPECT_EQ(sound->Calls()[0].kind, platform::SoundCall::kPlay);
    EXPECT_EQ(sound->Calls()[0].image, first.data());
    EXPECT_EQ(sound->Calls()[0].size, first.size());
    EXPECT_TRUE(sound->Calls()[0].flags.async);
    EXPECT_FALSE(sound->Calls()[0].flags.loop);
    // BeforePlay runs before the output is asked, AfterPlay right after it took the sound.
    EXPECT_EQ(events, (std::vector<std::string>{"before 0", "after 1"}));

    // The menu's pattern: stop, point at the next image, play; the second replaces the first.
    EXPECT_TRUE(player.Stop());
    player.SetWaveMemory(second.data(), second.size());
    EXPECT_TRUE(player.Play());
    ASSERT_NE(sound->LastPlayed(), nullptr);
    EXPECT_EQ(sound->LastPlayed()->image, second.data());
    EXPECT_EQ(sound->Calls()[1].kind, platform::SoundCall::kStop);
    EXPECT_EQ(events.size(), 4u);  // Stop raises no events

    // No image, or one that is no wave: false, and the events all the same.
    player.SetWaveMemory(nullptr, 0);
    EXPECT_FALSE(player.Play());
    const std::vector<uint8_t> junk(64, 0x41);
    player.SetWaveMemory(junk.data(), junk.size());
    EXPECT_FALSE(player.Play());
    EXPECT_EQ(events.size(), 8u);
    EXPECT_EQ(sound->LastPlayed()->image, second.data());

    // A resource: the program carries none here.
    player.SetWaveLocation(media::wlResource);
    player.SetWaveName("KLICK");
    EXPECT_FALSE(player.Play());
    // A file goes to the output by name, with the loop flag when asked.
    player.SetWaveLocation(media::wlFile);
    player.SetWaveName("/nonexistent/klick.wav");
    player.SetLoop(true);
    player.Play();
    EXPECT_EQ(sound->Calls().back().kind, platform::SoundCall::kPlayFile);
    EXPECT_EQ(sound->Calls().back().file, "/nonexistent/klick.wav");
    EXPECT_TRUE(sound->Calls().back().flags.loop);
}
