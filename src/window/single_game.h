// The window side of one game per player's files: the running game listens
// for later starts and brings its main window forward; a later start asks it
// to and ends, without a splash or a window of its own.
#pragma once

#include "base/single_instance.h"

#include <QString>

#include <filesystem>
#include <memory>

class QLocalServer;
class QWidget;

namespace plumix {

class SingleGame {
public:
    // Takes the records folder; the first game listens for later starts from
    // here on, though it brings nothing forward before BringForwardOnRequest.
    explicit SingleGame(const std::filesystem::path& recordsFolder);
    ~SingleGame();
    SingleGame(const SingleGame&) = delete;
    SingleGame& operator=(const SingleGame&) = delete;

    // A game runs on these files already.
    bool RunningElsewhere() const { return lock_.Get() == GameLock::State::Taken; }

    // For a later start: asks the running game to come forward and waits
    // about a second for its answer. Answered, it says so in one line on
    // stderr and gives 0; otherwise a message box tells the player, and 1.
    int HandOver() const;

    // For the first game, once its main window is shown.
    void BringForwardOnRequest(QWidget& window);

private:
    std::filesystem::path folder_;
    MeetingPoint meeting_;
    GameLock lock_;
    QString socket_;  // empty: no runtime folder to meet in
    std::unique_ptr<QLocalServer> server_;
};

// Un-minimised, raised and activated, with the game's modal window, if one is
// open, over it. `activationToken` is the later start's, for Wayland.
void BringToFront(QWidget& window, const QString& activationToken);

} // namespace plumix
