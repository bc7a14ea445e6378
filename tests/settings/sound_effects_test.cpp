#include "settings/sound_effects.h"
#include "settings/scratch_folder.h"
#include "settings/wav_builder.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

using namespace plumix::testing;

std::shared_ptr<const PcmSamples> Clip(PcmSamples samples)
{
    return std::make_shared<const PcmSamples>(std::move(samples));
}

TEST(OneVoiceMixer, PlaysToTheLastSampleThenItsTailThenSilence)
{
    OneVoiceMixer mixer(2, 2);
    EXPECT_TRUE(mixer.Idle());
    mixer.Start(Clip({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(mixer.Render(4), (PcmSamples{1, 2, 3, 4, 5, 6, 0, 0}));
    EXPECT_FALSE(mixer.Idle());  // one frame of the tail is still due
    EXPECT_EQ(mixer.Render(3), PcmSamples(6, 0));
    EXPECT_TRUE(mixer.Idle());
}

TEST(OneVoiceMixer, ANewEffectCutsThePlayingOneAtOnce)
{
    OneVoiceMixer mixer(1);
    mixer.Start(Clip({1, 2, 3, 4}));
    EXPECT_EQ(mixer.Render(2), (PcmSamples{1, 2}));
    mixer.Start(Clip({7, 8}));
    EXPECT_EQ(mixer.Render(3), (PcmSamples{7, 8, 0}));
    EXPECT_TRUE(mixer.Idle());
}

TEST(SoundEffects, NamesAreCaseSensitiveSoundOffSilencesAndFilesAreReadOnce)
{
    ScratchFolder folder;
    WriteFile(folder / "Sounds/Drop.wav", MakeWav(1, 1, 8000, 16, Samples16({1000, 2000, 3000})));
    WriteFile(folder / "Sounds/Rotate.wav", "RIFF, but not really");  // and no Clear.wav
    SoundEffects effects(folder.Path(), 2, 8000);
    std::filesystem::remove(folder / "Sounds/Drop.wav");

    EXPECT_EQ(SoundEffectFile(SoundEffect::Clear), "Sounds/Clear.wav");
    EXPECT_FALSE(effects.PlaySfx("drop", 2));
    EXPECT_FALSE(effects.PlaySfx("Drop", 1));
    EXPECT_TRUE(effects.Mixer().Idle());
    for (const std::uint8_t on : {0, 1, 7}) {
        EXPECT_TRUE(effects.PlaySfx("drop", on));
    }
    EXPECT_EQ(effects.Mixer().Render(1), (PcmSamples{1000, 1000}));
    // An effect without sound leaves the playing one alone.
    EXPECT_FALSE(effects.PlaySfx("rotate", 1));
    EXPECT_FALSE(effects.PlaySfx("clear", 1));
    EXPECT_EQ(effects.Mixer().Render(3), (PcmSamples{2000, 2000, 3000, 3000, 0, 0}));
}

} // namespace
} // namespace plumix
