// Our WAV reader on files built here, and the one-voice effects.
#include "sound/sound_effects.h"
#include "sound/wav.h"
#include "sound/wav_bytes.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <optional>

namespace plumix {
namespace {

using Floats = std::vector<float>;
using testing::Chunk, testing::Fmt, testing::Le, testing::Riff, testing::Wav;

TEST(Wav, EveryWidthAndFormatDecodesToTheRangeMinusOneToOneAndBrokenFilesGiveNothing)
{
    const auto f32 = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    const std::string floats = Le(4, {f32(0.25f), f32(std::numeric_limits<float>::quiet_NaN()), f32(2)});
    const std::string data = Le(2, {1, 2});
    std::string badGuid = Fmt(1, 1, 8000, 16, true);
    badGuid.back() ^= 1;
    const std::pair<std::string, std::optional<Floats>> cases[] = {
        {Wav(1, 1, 8000, 8, std::string("\x00\x80\xC0", 3)), Floats{-1, 0, 0.5f}},
        {Wav(1, 1, 8000, 16, Le(2, {-32768, 0, 16384})), Floats{-1, 0, 0.5f}},
        {Wav(1, 1, 8000, 24, std::string("\0\0\x80\0\0\x40\xFF\xFF\xFF", 9)), Floats{-1, 0.5f, -1.0f / 8388608}},
        {Wav(1, 1, 8000, 32, std::string("\0\0\0\x80\0\0\0\x40", 8)), Floats{-1, 0.5f}},
        {Wav(3, 1, 48000, 32, floats, true), Floats{0.25f, 0, 1}},
        {Wav(3, 1, 48000, 64, Le(8, {std::bit_cast<std::int64_t>(-0.5)})), Floats{-0.5f}},
        // Chunks in any order, an odd-sized one padded; a data chunk claiming more than the file holds.
        {Riff(Chunk("LIST", "odd") + Chunk("data", Le(2, {16384})) + Chunk("fmt ", Fmt(1, 1, 8000, 16))), Floats{0.5f}},
        {Riff(Chunk("fmt ", Fmt(1, 2, 8000, 16)) + Chunk("data", Le(2, {16384, 0, 1}), 0xFFFFFFF0)), Floats{0.5f, 0}},
        // Nothing from what is cut off, 12-bit, ADPCM, 3 channels, 1 MHz, 16-bit floats, a foreign GUID.
        {"RIFF", {}}, {Wav(1, 1, 8000, 12, data), {}}, {Wav(2, 1, 8000, 16, data), {}},
        {Wav(1, 3, 8000, 16, data), {}}, {Wav(1, 1, 1000000, 16, data), {}}, {Wav(3, 1, 8000, 16, data), {}},
        {Riff(Chunk("fmt ", badGuid) + Chunk("data", data)), {}},
        {Riff(Chunk("fmt ", Fmt(1, 1, 8000, 16))), {}},                   // no data
        {Riff(Chunk("junk", "", 0xFFFFFFFF) + Chunk("data", data)), {}},  // a huge chunk swallows the rest
        {Riff(Chunk("fmt ", "short") + Chunk("data", data)), {}},
    };
    for (const auto& [wav, expected] : cases) {
        const auto clip = DecodeWav(wav);
        EXPECT_EQ(clip ? std::optional(clip->samples) : std::nullopt, expected) << ::testing::PrintToString(wav);
    }
    const AudioClip stereo = DecodeWav(Wav(1, 2, 22050, 16, Le(2, {16384, -16384, 0, 8192}), true)).value();
    EXPECT_EQ(std::tuple(stereo.channels, stereo.sampleRate, stereo.samples),
              std::tuple(2, 22050, Floats{0.5f, -0.5f, 0, 0.25f}));
}

TEST(Wav, ConversionResamplesAndMapsChannels)
{
    using Pcm = std::vector<std::int16_t>;
    const AudioClip mono{{0, 1, -1}, 1, 22050};
    EXPECT_EQ(ConvertClip(mono, 2, 44100), (Pcm{0, 0, 16384, 16384, 32767, 32767, 0, 0, -32767, -32767, -32767, -32767}));
    // Up to the last frame's time when the rates' ratio is no whole number.
    EXPECT_EQ(ConvertClip({{0, 0.6f, -0.6f}, 1, 32000}, 1, 48000), (Pcm{0, 13107, 6553, -19660, -19660}));
    const AudioClip pair{{1, 0, 0.5f, -0.5f}, 2, 48000};
    EXPECT_EQ(ConvertClip(pair, 1, 24000), (Pcm{16384}));
}

TEST(SoundEffects, ReadOnceInTheOutputsFormatAndOneVoicePlaysToItsLastSampleOrUntilTheNextCutsIt)
{
    testing::ScratchFolder folder;
    testing::WriteFile(folder / "Sounds/Drop.wav", Wav(1, 1, 8000, 16, Le(2, {1000, 2000, 3000})));
    testing::WriteFile(folder / "Sounds/Rotate.wav", "RIFF, but not really");  // and no Clear.wav
    const SoundEffects effects(folder.Path());
    std::filesystem::remove(folder / "Sounds/Drop.wav");  // read once, up front
    EXPECT_EQ((std::array{effects.HasSound(SoundEffect::Landing), effects.HasSound(SoundEffect::FastDrop),
                          effects.HasSound(SoundEffect::RowFlash)}),
              (std::array{true, false, false}));
    const auto clips = effects.Converted(2, 8000);
    EXPECT_TRUE(clips[1].empty());

    OneVoiceMixer mixer(2);
    PcmSamples out(4);
    mixer.Start(clips[0]);
    mixer.Render(out);
    EXPECT_EQ(out, (PcmSamples{1000, 1000, 2000, 2000}));
    mixer.Start(clips[0]);  // a new effect cuts the playing one at its next sample
    out.resize(8);
    mixer.Render(out);
    EXPECT_EQ(out, (PcmSamples{1000, 1000, 2000, 2000, 3000, 3000, 0, 0}));
    mixer.Render(out);
    EXPECT_EQ(out, PcmSamples(8, 0));

    // Each effect from the first folder that has it: the player's Clear.wav beside the installed Drop.wav.
    testing::ScratchFolder player;
    testing::WriteFile(player / "Sounds/Clear.wav", Wav(1, 1, 8000, 16, Le(2, {7000})));
    testing::WriteFile(folder / "Sounds/Drop.wav", Wav(1, 1, 8000, 16, Le(2, {1000})));
    testing::WriteFile(folder / "Sounds/Clear.wav", Wav(1, 1, 8000, 16, Le(2, {-1000})));
    const auto layered = SoundEffects({player.Path(), folder.Path()}).Converted(1, 8000);
    EXPECT_EQ(layered[2], PcmSamples{7000});
    EXPECT_EQ(layered[0], PcmSamples{1000});

    const SoundEffects shipped(PLUMIX_ASSETS);
    for (const SoundEffect e : {SoundEffect::Landing, SoundEffect::FastDrop, SoundEffect::RowFlash}) {
        EXPECT_TRUE(shipped.HasSound(e)) << SoundEffectFile(e);
    }
}

} // namespace
} // namespace plumix
