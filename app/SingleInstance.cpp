// The hand-over runs over a local socket: one line per start, the file as a file URL.
#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QUrl>
#include <utility>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace velkor {
namespace {

constexpr int kWaitMs = 2000;

QString currentUser() {
#if defined(Q_OS_UNIX)
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

QString currentDisplay() {
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    return wayland.isEmpty() ? qEnvironmentVariable("DISPLAY") : wayland;
}

QString safePart(QString text) {
    static const QRegularExpression unsafe("[^A-Za-z0-9._-]");
    text.replace(unsafe, "_");
    return text.isEmpty() ? QString("none") : text;
}

// A file URL keeps any character of a path, newlines included, on one line.
QByteArray requestLine(const QString& file) {
    if (file.isEmpty()) {
        return "\n";
    }
    return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded() + '\n';
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

QString SingleInstance::defaultServerName() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::tempPath();
    }
    return serverNameFor(folder, currentUser(), currentDisplay());
}

QString SingleInstance::serverNameFor(const QString& folder, const QString& user,
                                      const QString& display) {
    return QDir(folder).filePath(QString("velkor2tr-%1-%2").arg(safePart(user), safePart(display)));
}

bool SingleInstance::handOver(const QString& file) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs)) {
        return false;
    }
    socket.write(requestLine(file));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kWaitMs)) {
    }
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::listen() {
    if (server_.listen(name_)) {
        return true;
    }
    if (server_.serverError() != QAbstractSocket::AddressInUseError) {
        return false;
    }
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kWaitMs)) {
        // Another program started at the same moment and serves already.
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto readRequest = [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            const QByteArray line = socket->readLine().trimmed();
            socket->disconnectFromServer();
            socket->deleteLater();
            emit openRequested(line.isEmpty() ? QString() : QUrl::fromEncoded(line).toLocalFile());
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        // A start that wrote its line and left at once is still read before the socket goes.
        connect(socket, &QLocalSocket::disconnected, this, [socket, readRequest] {
            readRequest();
            socket->deleteLater();
        });
        readRequest();
    }
}

}  // namespace velkor
