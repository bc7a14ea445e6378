// Plays the game's sound effects through one audio stream per run of effects:
// opened by the first effect after a quiet spell, fed from the one-voice mixer
// (a new effect cuts the old one inside the stream), and closed only once the
// server has taken everything, effect and trailing silence. Without a sound
// server every effect is silence, and the game never waits for one.
#pragma once

#include "engine/ports.h"
#include "sound/sound_effects.h"

#include <QAudioFormat>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <vector>

class QAudioSink;
class QIODevice;

namespace plumix {

class SoundPlayer : public QObject, public SoundPort {
    Q_OBJECT

public:
    // Decodes the three effects now, each from the first of `dataFolders`
    // that holds it, so that playing one never reads a file. `soundOn` is the
    // sound setting (2: off), read at every effect; it must outlive the player.
    SoundPlayer(const std::uint8_t& soundOn, const std::vector<std::filesystem::path>& dataFolders,
                QObject* parent = nullptr);
    explicit SoundPlayer(const std::uint8_t& soundOn, const std::filesystem::path& gameFolder = ".",
                         QObject* parent = nullptr)
        : SoundPlayer(soundOn, std::vector{gameFolder}, parent)
    {
    }
    ~SoundPlayer() override;

    void PlaySfx(SoundEffect effect) override;

    bool HasOutput() const { return sink_ != nullptr; }
    // True while an effect or the silence after it is fed to the stream; only
    // then does a timer run.
    bool Busy() const { return feedTimer_.isActive(); }

private:
    bool Awake();
    void Feed();
    void Rest();
    void Forget();

    const std::uint8_t& soundOn_;
    QAudioFormat format_;
    std::optional<SoundEffects> effects_;
    QAudioSink* sink_ = nullptr;
    QIODevice* output_ = nullptr;  // the stream, from a successful start until it fails
    QTimer feedTimer_;
    QElapsedTimer drainClock_;  // since the last of an effect was handed over
};

} // namespace plumix
