// A WAV file: any bytes give no clip or a clip of whole frames within -1..1,
// which converts to the output's format at its length.
#include "harness.h"
#include "sound/wav.h"

#include <cmath>

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto clip = DecodeWav(fuzz::Bytes(data, size));
    if (!clip) {
        return 0;
    }
    fuzz::Require(clip->channels == 1 || clip->channels == 2, "mono or stereo");
    fuzz::Require(clip->sampleRate >= MinSampleRate && clip->sampleRate <= MaxSampleRate, "a rate in range");
    fuzz::Require(clip->samples.size() % static_cast<std::size_t>(clip->channels) == 0, "whole frames");
    fuzz::Require(clip->samples.size() <= size, "no more samples than bytes");
    for (const float sample : clip->samples) {
        fuzz::Require(std::isfinite(sample) && sample >= -1 && sample <= 1, "samples within -1..1");
    }
    for (const auto& [channels, rate] : {std::pair{2, 48000}, std::pair{1, 8000}}) {
        const auto out = ConvertClip(*clip, channels, rate);
        const double frames = static_cast<double>(clip->Frames()) * rate / clip->sampleRate;
        fuzz::Require(out.size() / static_cast<std::size_t>(channels) <= static_cast<std::size_t>(std::ceil(frames)) + 1,
                      "the converted clip lasts as long");
        fuzz::Require(out.size() % static_cast<std::size_t>(channels) == 0, "whole output frames");
    }
    return 0;
}
