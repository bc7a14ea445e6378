#include "window/single_instance_qt.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace plumix {

namespace {

// The running game answers at once unless it is still starting, and then the
// request waits in the socket's queue: a connection never has to wait long.
constexpr int ConnectWaitMs = 1000;

QString SocketPath(const std::filesystem::path& folder)
{
    const std::string name = InstanceName(folder);
    const std::filesystem::path runtime = PrivateRuntimeFolder(std::getenv("XDG_RUNTIME_DIR"));
    if (name.empty() || runtime.empty()) {
        return {};
    }
    return QString::fromStdString((runtime / name).string());
}

// One request per connection: its line, then it is done with.
void Serve(QLocalSocket* socket, QWidget& window)
{
    const auto take = [socket, &window] {
        if (socket->canReadLine()) {
            const QByteArray line = socket->readLine(static_cast<qint64>(MaxRequestBytes) + 1);
            const auto token = line.endsWith('\n') ? ActivationTokenOf(std::string_view(line.constData(), line.size() - 1))
                                                    : std::nullopt;
            if (token) {
                BringToFront(window, QString::fromStdString(*token));
            }
        } else if (socket->bytesAvailable() <= static_cast<qint64>(MaxRequestBytes)) {
            return;  // the rest of the line is on its way
        }
        socket->abort();
        socket->deleteLater();
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, take);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    take();  // a start that came while this game was starting wrote its line already
}

} // namespace

SingleGame::SingleGame(const std::filesystem::path& recordsFolder)
    : folder_(recordsFolder), lock_(recordsFolder), socket_(SocketPath(recordsFolder))
{
    if (lock_.Get() != RecordsFolderLock::State::Held || socket_.isEmpty()) {
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
    bool reached = false;
    if (!socket_.isEmpty()) {
        QLocalSocket socket;
        socket.connectToServer(socket_);
        if (socket.waitForConnected(ConnectWaitMs)) {
            const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
            socket.write(QByteArray::fromStdString(ComeForwardRequest(token != nullptr ? token : "")));
            reached = socket.waitForBytesWritten(ConnectWaitMs) || socket.bytesToWrite() == 0;
            socket.disconnectFromServer();
        }
    }
    std::error_code ec;
    const std::filesystem::path shown = std::filesystem::weakly_canonical(folder_, ec);
    std::fprintf(stderr, "plumix: the game is already running on the records in %s%s\n",
                 (ec ? folder_ : shown).c_str(), reached ? "; its window is brought to the front" : "");
    return 0;
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
