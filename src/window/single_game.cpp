#include "window/single_game.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace plumix {

namespace {

// The running game answers at once unless it is still starting, and then the
// request waits in the socket's queue: a second is long.
constexpr int AnswerWaitMs = 1000;

// One request per connection: its line, the answer, then it is done with.
void Serve(QLocalSocket* socket, QWidget& window)
{
    const auto take = [socket, &window] {
        if (socket->canReadLine()) {
            const QByteArray line = socket->readLine(static_cast<qint64>(MaxRequestBytes) + 1);
            const auto token = line.endsWith('\n') ? ActivationTokenOf(std::string_view(line.constData(), line.size() - 1))
                                                    : std::nullopt;
            if (token) {
                BringToFront(window, QString::fromStdString(*token));
                socket->write(ComeForwardAnswer.data(), static_cast<qint64>(ComeForwardAnswer.size()));
                socket->flush();
            }
        } else if (socket->bytesAvailable() <= static_cast<qint64>(MaxRequestBytes)) {
            return;  // the rest of the line is on its way
        }
        // Done with: nothing more it sends is read.
        QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
        socket->disconnectFromServer();
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, take);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    take();  // a start that came while this game was starting wrote its line already
}

bool Answered(const QString& socketPath)
{
    QDeadlineTimer deadline(AnswerWaitMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    socket.write(QByteArray::fromStdString(ComeForwardRequest(token != nullptr ? token : "")));
    while (!socket.canReadLine() && !deadline.hasExpired() &&
           socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    return socket.canReadLine() && socket.readLine().toStdString() == ComeForwardAnswer;
}

} // namespace

SingleGame::SingleGame(const std::filesystem::path& recordsFolder)
    : folder_(recordsFolder),
      meeting_(MeetingPointFor(recordsFolder, std::getenv("XDG_RUNTIME_DIR"))),
      lock_(meeting_.lockFile),
      socket_(QString::fromStdString(meeting_.socket.string()))
{
    if (lock_.Get() != GameLock::State::Held || socket_.isEmpty()) {
        return;
    }
    server_ = std::make_unique<QLocalServer>();
    // Holding the lock, this game is the only one that may be behind the
    // name: a socket file there is what a killed game left.
    QLocalServer::removeServer(socket_);
    if (!server_->listen(socket_)) {
        server_.reset();
    }
}

SingleGame::~SingleGame() = default;

int SingleGame::HandOver() const
{
    std::error_code ec;
    const std::filesystem::path shown = std::filesystem::weakly_canonical(folder_, ec);
    QElapsedTimer waited;
    waited.start();
    const bool answered = !socket_.isEmpty() && Answered(socket_);
    const char* where = (ec ? folder_ : shown).c_str();
    if (answered) {
        std::fprintf(stderr, "plumix: the game is already running on the records in %s; its window is brought to the front\n",
                     where);
        return 0;
    }
    std::fprintf(stderr, "plumix: the game is already running on the records in %s, but it did not answer in %lld ms\n",
                 where, static_cast<long long>(waited.elapsed()));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Plumix"), QString::fromUtf8(NotAnsweringMessage.data(),
                    static_cast<qsizetype>(NotAnsweringMessage.size())), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
}

void SingleGame::BringForwardOnRequest(QWidget& window)
{
    if (!server_) {
        return;
    }
    const auto serveAll = [this, &window] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            Serve(socket, window);
        }
    };
    QObject::connect(server_.get(), &QLocalServer::newConnection, &window, serveAll);
    serveAll();
}

void BringToFront(QWidget& window, const QString& activationToken)
{
    if (!window.isVisible()) {
        return;  // not shown yet, or the game is ending
    }
    // Qt's Wayland side activates a window with the token it finds here.
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    }
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != &window) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace plumix
