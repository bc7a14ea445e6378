// Plays the game's sound effects. Each effect gets a fresh audio stream of its
// own, handed the whole effect at once (a new effect closes the stream of the
// one it cuts), so nothing an effect needs ever waits behind a start threshold
// or a feeding timer. A second stream stays open and paused for the whole run:
// it holds the sound server at the player's short latency, so the server has
// never mixed far ahead when an effect's stream arrives. Without a sound server
// every effect is silence, and the game never waits for one.
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
    // that holds it, so that playing one never reads a file, and opens the paused
    // stream. `soundOn` is the sound setting, read at every effect; it
    // must outlive the player.
    SoundPlayer(const bool& soundOn, const std::vector<std::filesystem::path>& dataFolders,
                QObject* parent = nullptr);
    explicit SoundPlayer(const bool& soundOn, const std::filesystem::path& gameFolder = ".",
                         QObject* parent = nullptr)
        : SoundPlayer(soundOn, std::vector{gameFolder}, parent)
    {
    }
    ~SoundPlayer() override;

    void PlaySfx(SoundEffect effect) override;

    bool HasOutput() const { return voice_ != nullptr; }
    // True while an effect's stream is open; only then does a timer run.
    bool Busy() const { return voiceTimer_.isActive(); }

private:
    void HoldLatency();
    bool OpenVoice();
    void Feed();
    void Rest();
    void Forget();

    const bool& soundOn_;
    QAudioFormat format_;
    std::optional<SoundEffects> effects_;
    QAudioSink* holder_ = nullptr;  // paused while the player lives
    QAudioSink* voice_ = nullptr;
    QIODevice* voiceOutput_ = nullptr;  // the effect's stream, from its start until it is closed or fails
    QTimer voiceTimer_;
    QElapsedTimer voiceClock_;  // since the effect's stream was opened
    qint64 framesWritten_ = 0;
};

} // namespace plumix
