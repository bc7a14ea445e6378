#include "window/quit_signals.h"

#include "window/game_app.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace plumix {

namespace {

int signalPipe[2] = {-1, -1};

// All a signal handler may do: note that the signal came.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void EndOnSystemRequest(GameApp& game)
{
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &game);
    QObject::connect(notifier, &QSocketNotifier::activated, &game, [&game] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        game.EndWithoutAsking();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        ::sigaction(signal, &action, nullptr);
    }
    // The session manager asks before it ends the session; what the game
    // keeps is written then, without a question nobody would answer.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &game,
                     [&game](QSessionManager&) { game.EndWithoutAsking(); });
}

} // namespace plumix
