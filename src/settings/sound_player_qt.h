// Plays the game's sound effects through one long-lived audio output fed from
// the one-voice mixer. Without an audio device every effect is silence.
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
    // never reads a file. `settings` must outlive the player; its sound
    // setting is read at every effect.
    explicit SoundPlayer(const Settings& settings, const std::filesystem::path& gameFolder = ".",
                         QObject* parent = nullptr);
    ~SoundPlayer() override;

    void PlaySfx(std::string_view name) override;

    bool HasOutput() const { return sink_ != nullptr; }
    // True while an effect is fed or its end still plays; only then does a
    // timer run.
    bool Busy() const { return feedTimer_.isActive(); }

private:
    void Feed();
    void Finish();

    const Settings& settings_;
    QAudioFormat format_;
    std::optional<SoundEffects> effects_;
    QAudioSink* sink_ = nullptr;
    QIODevice* output_ = nullptr;  // the sink's, valid from start() until stop()
    QTimer feedTimer_;
    QElapsedTimer sinceStart_;
    qint64 bytesWritten_ = 0;
    qint64 deadlineUs_ = 0;  // since the start: the effect, its tail and a grace time
};

} // namespace plumix
