#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include "tests/support/CiSkip.h"

#include <cstring>

#include "platform/RecordingSound.h"
#include "platform/SdlLibrary.h"
#include "platform/WaveImage.h"
#include "platform/posix/SdlSound.h"
#include "tests/platform/TempDir.h"
#include "tools/common/WavWriter.h"

using platform::SoundCall;
using platform::SoundFlags;
using platform::WaveImage;

namespace {

std::vector<uint8_t> Tone(int ms, int rate = 22050, int channels = 1, int bits = 16) {
    WavWriter w(rate, channels, bits);
    w.AddTone(440, ms);
    return w.Image();
}

void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

}  // namespace

TEST(WaveImage, ChecksTheChunkStructureAgainstTheBuffer) {
    WavWriter w(11025, 2, 8);
    const uint8_t info[] = {'a', 'b', 'c'};  // odd length: padded, and must be skipped
    w.AddExtraChunk("LIST", info);
    w.AddTone(300, 10);
    const std::vector<uint8_t> good = w.Image();
    WaveImage wave;
    std::string why;
    ASSERT_TRUE(WaveImage::Parse(good.data(), good.size(), wave, &why)) << why;
    EXPECT_EQ(wave.formatTag, 1);
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.sampleRate, 11025u);
    EXPECT_EQ(wave.bitsPerSample, 8);
    EXPECT_EQ(wave.dataSize, w.Data().size());
    EXPECT_EQ(0, std::memcmp(good.data() + wave.dataOffset, w.Data().data(), wave.dataSize));
    EXPECT_EQ(wave.imageSize, good.size());

    // A truncated recording still plays what is there.
    std::vector<uint8_t> cut(good.begin(), good.end() - 20);
    ASSERT_TRUE(WaveImage::Parse(cut.data(), cut.size(), wave));
    EXPECT_EQ(wave.dataSize, w.Data().size() - 20);

    // A format chunk that claims more than the buffer holds is refused, never read past.
    std::vector<uint8_t> bigFmt = good;
    PutU32(bigFmt, 16, 0x7FFFFFF0);
    EXPECT_FALSE(WaveImage::Parse(bigFmt.data(), bigFmt.size(), wave, &why));
    EXPECT_EQ(why, "chunk reaches past the end");

    // A RIFF size smaller than the chunks cuts the image off before its data.
    std::vector<uint8_t> shortRiff = good;
    PutU32(shortRiff, 4, 4 + 8 + 16);
    EXPECT_FALSE(WaveImage::Parse(shortRiff.data(), shortRiff.size(), wave, &why));
    EXPECT_EQ(why, "no data chunk");

    const std::string text = "this is not a wave file at all";
    EXPECT_FALSE(WaveImage::Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size(), wave));
    EXPECT_FALSE(WaveImage::Parse(good.data(), 11, wave));
    EXPECT_FALSE(WaveImage::Parse(nullptr, 0, wave));
}

TEST(RecordingSound, RecordsPlayAndStopWithTheirFlags) {
    platform::RecordingSound sound;
    const std::vector<uint8_t> click = Tone(20);
    const std::vector<uint8_t> garbage(64, 0x55);

    EXPECT_TRUE(sound.Stop());
    EXPECT_TRUE(sound.Play(click.data(), click.size(), {true, false}));
    EXPECT_TRUE(sound.Playing());
    EXPECT_FALSE(sound.Play(garbage.data(), garbage.size(), {true, true}));
    EXPECT_FALSE(sound.Playing());  // a failed play leaves silence
    EXPECT_TRUE(sound.Play(click.data(), click.size(), {false, false}));
    EXPECT_FALSE(sound.Playing());  // a synchronous sound has ended when Play returns

    ASSERT_EQ(sound.Calls().size(), 4u);
    EXPECT_EQ(sound.Calls()[0].kind, SoundCall::kStop);
    EXPECT_EQ(sound.Calls()[1].kind, SoundCall::kPlay);
    EXPECT_EQ(sound.Calls()[1].image, click.data());
    EXPECT_EQ(sound.Calls()[1].size, click.size());
    EXPECT_TRUE(sound.Calls()[1].flags.async);
    EXPECT_FALSE(sound.Calls()[1].flags.loop);
    EXPECT_TRUE(sound.Calls()[2].flags.loop);
    EXPECT_FALSE(sound.Calls()[2].result);
    EXPECT_FALSE(sound.Calls()[3].flags.async);
    ASSERT_NE(sound.LastPlayed(), nullptr);
    EXPECT_EQ(sound.LastPlayed(), &sound.Calls()[3]);

    TempDir t;
    const std::string wav(click.begin(), click.end());
    t.Write("CLICK.WAV", wav);
    EXPECT_TRUE(sound.PlayFile(t / "click.wav", {}));
    EXPECT_EQ(sound.Calls().back().kind, SoundCall::kPlayFile);
    EXPECT_FALSE(sound.PlayFile(t / "missing.wav", {}));
}

TEST(SdlSound, PlaysValidImagesAndRefusesGarbageOnTheDummyDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::SdlSound sound;
    const std::vector<uint8_t> garbage(200, 0xAB);
    const std::vector<uint8_t> shortClick = Tone(30, 8000, 1, 8);
    const std::vector<uint8_t> music = Tone(500, 44100, 2, 16);

    // Garbage is refused before the audio system is asked.
    EXPECT_FALSE(sound.Play(garbage.data(), garbage.size(), {}));
    EXPECT_FALSE(sound.LastError().empty());

    if (!sound.Play(music.data(), music.size(), {true, true})) {
        CDMENU_SKIP_OUTSIDE_CI("SDL has no dummy audio driver here: " + sound.LastError());
    }
    EXPECT_TRUE(sound.Playing());  // looping: it cannot have ended
    // A new sound replaces the old one; a synchronous one has ended when Play returns.
    EXPECT_TRUE(sound.Play(shortClick.data(), shortClick.size(), {false, false}));
    EXPECT_FALSE(sound.Playing());

    EXPECT_TRUE(sound.Play(music.data(), music.size(), {true, true}));
    EXPECT_TRUE(sound.Stop());
    EXPECT_FALSE(sound.Playing());
    EXPECT_TRUE(sound.Stop());  // stopping silence is fine

    // A failing play still cuts off what played before.
    EXPECT_TRUE(sound.Play(music.data(), music.size(), {true, true}));
    EXPECT_FALSE(sound.Play(garbage.data(), garbage.size(), {true, false}));
    EXPECT_FALSE(sound.Playing());

    // A structurally sound header with a format SDL cannot decode is refused too.
    std::vector<uint8_t> odd = Tone(10);
    odd[20] = 0x55;  // format tag 0x55 (MPEG layer 3)
    EXPECT_FALSE(sound.Play(odd.data(), odd.size(), {}));
}

TEST(SdlSound, DegradesQuietlyWithoutAnAudioDevice) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    platform::SdlSound sound;
    const std::vector<uint8_t> click = Tone(20);
    EXPECT_FALSE(sound.Play(click.data(), click.size(), {}));
    EXPECT_FALSE(sound.LastError().empty());
    EXPECT_FALSE(sound.Playing());
    EXPECT_TRUE(sound.Stop());
    // Later sounds fail the same way, without trying the device again.
    EXPECT_FALSE(sound.Play(click.data(), click.size(), {false, false}));
    unsetenv("SDL_AUDIODRIVER");
}

TEST(SdlSound, ADeviceThatFailsWhilePlayingNeitherHangsNorBreaksLaterSounds) {
    // SDL's file-writing driver on /dev/full: every write of the playing sound fails with ENOSPC and
    // SDL drops the device in the middle of the sound.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    {
        platform::SdlSound sound;
        const std::vector<uint8_t> music = Tone(3000, 22050, 2, 16);
        const std::vector<uint8_t> click = Tone(20);
        if (!sound.Play(music.data(), music.size(), {true, true}))
            CDMENU_SKIP_OUTSIDE_CI("SDL has no disk audio driver here: " + sound.LastError());
        // A new sound replaces the one on the lost device; stopping and replacing go on working.
        EXPECT_TRUE(sound.Play(click.data(), click.size(), {true, false}));
        EXPECT_TRUE(sound.Stop());
        EXPECT_FALSE(sound.Playing());
        EXPECT_TRUE(sound.Play(music.data(), music.size(), {true, false}));
        EXPECT_TRUE(sound.LastError().empty());
    }  // closing a lost device at the end must not wait for it
    unsetenv("SDL_DISKAUDIODELAY");
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_AUDIODRIVER");
}

TEST(SdlSound, StaysSilentWhenSdlCannotBeLoaded) {
    platform::SdlLibrary::SetCandidatesForTest({"/nonexistent/libSDL2-2.0.so.0"});
    const int attempts = platform::SdlLibrary::LoadAttempts();
    {
        platform::SdlSound sound;
        const std::vector<uint8_t> click = Tone(20);
        EXPECT_FALSE(sound.Play(click.data(), click.size(), {true, false}));
        EXPECT_NE(sound.LastError().find("/nonexistent/libSDL2-2.0.so.0"), std::string::npos)
            << sound.LastError();
        EXPECT_FALSE(sound.Playing());
        EXPECT_TRUE(sound.Stop());
        // The library is asked once, not for every sound.
        EXPECT_FALSE(sound.Play(click.data(), click.size(), {false, false}));
        EXPECT_EQ(platform::SdlLibrary::LoadAttempts(), attempts + 1);
    }
    platform::SdlLibrary::SetCandidatesForTest({});
}

TEST(SdlLibrary, AnSdlTooOldIsPassedOverForTheNextCandidate) {
    // zlib stands in for an old SDL: it loads, but lacks what the menu needs.
    platform::SdlLibrary::SetCandidatesForTest({"libz.so.1"});
    EXPECT_EQ(platform::SdlLibrary::Open(), nullptr);
    EXPECT_NE(platform::SdlLibrary::Error().find("zu alt"), std::string::npos)
        << platform::SdlLibrary::Error();

    platform::SdlLibrary::SetCandidatesForTest({"libz.so.1", "libSDL2-2.0.so.0"});
    void* handle = platform::SdlLibrary::Open();
    if (!handle) CDMENU_SKIP_OUTSIDE_CI("no system SDL2 here: " + platform::SdlLibrary::Error());
    EXPECT_NE(dlsym(handle, "SDL_GetTicks64"), nullptr);
    EXPECT_TRUE(platform::SdlLibrary::Error().empty());
    platform::SdlLibrary::SetCandidatesForTest({});
}
