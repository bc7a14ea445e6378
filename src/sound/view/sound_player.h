// Plays the game's sound effects through the desktop's sound server (PulseAudio,
// or PipeWire's PulseAudio service), with the server's own client library. One
// stream lives for the whole run, fed in small buffers by a thread of its own
// from the one-voice mixer; it pauses after a short silence so the server can
// let the output sleep. Without a server every effect is silence, and the
// player connects by itself once one is there.
#pragma once

#include "engine/ports.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace plumix {

class SoundPlayer final : public SoundPort {
public:
    // Reads the three effects now, each from the first of `dataFolders` that
    // holds it, so that playing one never reads a file, and starts connecting.
    // `soundOn` is asked at every effect, on the calling thread.
    SoundPlayer(std::function<bool()> soundOn, const std::vector<std::filesystem::path>& dataFolders);
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Returns at once: the effect is handed to the sound thread, never waiting
    // for it or for the server.
    void PlaySfx(SoundEffect effect) override;

    // True while a stream to a server is open, paused or playing.
    bool Connected() const;
    // True while the stream plays (an effect, or the silence before it pauses).
    bool Playing() const;

    struct Output;

private:
    std::function<bool()> soundOn_;
    std::unique_ptr<Output> output_;
};

} // namespace plumix
