#include "settings/wav.h"
#include "settings/wav_builder.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

namespace plumix {
namespace {

using namespace plumix::testing;

std::vector<float> Decoded(const std::string& wav)
{
    const auto clip = DecodeWav(wav);
    return clip ? clip->samples : std::vector<float>{99};
}

TEST(Wav, SamplesOfEveryWidthAndFormatComeOutInRange)
{
    EXPECT_EQ(Decoded(MakeWav(1, 1, 8000, 8, std::string("\x00\x80\xC0", 3))), (std::vector<float>{-1, 0, 0.5f}));
    EXPECT_EQ(Decoded(MakeWav(1, 1, 8000, 16, Samples16({-32768, 0, 16384}))), (std::vector<float>{-1, 0, 0.5f}));
    EXPECT_EQ(Decoded(MakeWav(1, 1, 8000, 24, std::string("\x00\x00\x80\x00\x00\x40\xFF\xFF\xFF", 9))),
              (std::vector<float>{-1, 0.5f, -1.0f / 8388608}));
    EXPECT_EQ(Decoded(MakeWav(1, 1, 8000, 32, std::string("\x00\x00\x00\x80\x00\x00\x00\x40", 8))),
              (std::vector<float>{-1, 0.5f}));
    std::string floats;
    for (const float f : {0.25f, std::numeric_limits<float>::quiet_NaN(), 2.0f}) {
        PutLe(floats, std::bit_cast<std::uint32_t>(f), 4);
    }
    EXPECT_EQ(Decoded(MakeWav(3, 1, 48000, 32, floats, true)), (std::vector<float>{0.25f, 0, 1}));
    std::string doubles;
    PutLe(doubles, std::bit_cast<std::uint64_t>(-0.5), 8);
    EXPECT_EQ(Decoded(MakeWav(3, 1, 48000, 64, doubles)), (std::vector<float>{-0.5f}));

    const auto stereo = DecodeWav(MakeWav(1, 2, 22050, 16, Samples16({16384, -16384, 0, 8192}), true));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->channels * 100000 + stereo->sampleRate, 222050);
    EXPECT_EQ(stereo->samples, (std::vector<float>{0.5f, -0.5f, 0, 0.25f}));
}

TEST(Wav, ChunksInAnyOrderWithPaddingAndTruncatedData)
{
    // An odd-sized chunk before "fmt " is padded; "data" may come first.
    const std::string ordered = Riff(Chunk("LIST", "odd") + Chunk("data", Samples16({100, 200})) +
                                     Chunk("fmt ", FormatBody(1, 1, 8000, 16)));
    EXPECT_EQ(DecodeWav(ordered)->Frames(), 2u);

    // The data chunk claims far more than the file holds: the whole frames there are kept.
    const std::string cut = Riff(Chunk("fmt ", FormatBody(1, 2, 8000, 16)) +
                                 Chunk("data", Samples16({1, 2, 3, 4, 5}), 0xFFFFFFF0));
    EXPECT_EQ(DecodeWav(cut)->Frames(), 2u);
}

TEST(Wav, UnsupportedOrBrokenFilesGiveNothing)
{
    const std::string data = Samples16({1, 2});
    const std::string cases[] = {
        "",
        "RIFF",
        MakeWav(1, 1, 8000, 12, data),     // 12-bit
        MakeWav(2, 1, 8000, 16, data),     // ADPCM
        MakeWav(1, 3, 8000, 16, data),     // three channels
        MakeWav(1, 1, 1000000, 16, data),  // absurd rate
        MakeWav(3, 1, 8000, 16, data),     // 16-bit float
        Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16, true, std::string(14, '\x01'))) + Chunk("data", data)),
        Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 16))),             // no data
        Riff(Chunk("junk", "", 0xFFFFFFFF) + Chunk("data", data)),  // a huge chunk swallows the rest
        Riff(Chunk("fmt ", "short") + Chunk("data", data)),
    };
    for (const std::string& wav : cases) {
        EXPECT_FALSE(DecodeWav(wav)) << ::testing::PrintToString(wav);
    }
}

TEST(Wav, ConversionResamplesAndMapsChannels)
{
    AudioClip mono;
    mono.sampleRate = 22050;
    mono.samples = {0, 1, -1};
    const auto stereo = ConvertClip(mono, 2, 44100);
    EXPECT_EQ(stereo, (std::vector<std::int16_t>{0, 0, 16384, 16384, 32767, 32767, 0, 0, -32767, -32767, -32767, -32767}));

    AudioClip pair;
    pair.channels = 2;
    pair.sampleRate = 48000;
    pair.samples = {1, 0, 0.5f, -0.5f};
    EXPECT_EQ(ConvertClip(pair, 1, 48000), (std::vector<std::int16_t>{16384, 0}));
    EXPECT_EQ(ConvertClip(pair, 3, 24000), (std::vector<std::int16_t>{32767, 0, 0}));
    EXPECT_TRUE(ConvertClip(pair, 2, 10000000).empty());
    EXPECT_TRUE(ConvertClip(AudioClip{}, 2, 48000).empty());
}

TEST(Wav, ShippedEffectsDecode)
{
    for (const char* name : {"Drop.wav", "Rotate.wav", "Clear.wav"}) {
        const auto clip = ReadWavFile(std::filesystem::path(PLUMIX_ASSETS) / "Sounds" / name);
        ASSERT_TRUE(clip) << name;
        EXPECT_GT(clip->Frames(), 100u) << name;
    }
}

} // namespace
} // namespace plumix
