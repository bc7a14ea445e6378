// Plays the game's sound effects. Each effect gets a fresh audio stream of its
// own, handed the whole effect at once (a new effect closes the stream of the
// one it cuts), so nothing an effect needs ever waits behind a start threshold
// or a feeding timer. A second stream stays open and paused for the whole run:
// it holds the sound server at the player's short latency, so the server has
// never mixed far ahead when an effect's stream arrives. Without a sound server
// every effect is silence, and the game never waits for one.
#pragma once

#include "engine/ports.h"
#include "settings/settings.h"
#include "settings/sound_effects.h"

#include <QAudioFormat>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <optional>

class QAudioSink;
class QIODevice;

namespace plumix {

class SoundPlayer : public QObject, public SoundPort {
    Q_OBJECT

public:
    // Decodes the three effects below `gameFolder` now, so that playing one
    // never reads a file, and opens the paused stream. `settings` must outlive
    // the player; its sound setting is read at every effect.
    explicit SoundPlayer(const Settings& settings, const std::filesystem::path& gameFolder = ".",
                         QObject* parent = nullptr);
    ~SoundPlayer() override;

    void PlaySfx(std::string_view name) override;

    bool HasOutput() const { return voice_ != nullptr; }
    // True while an effect's stream is open; only then does a timer run.
    bool Busy() const { return voiceTimer_.isActive(); }

private:
    void HoldLatency();
    bool OpenVoice();
    void Feed();
    void Rest();
    void Forget();

    const Settings& settings_;
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
