// The hand-over runs over a local socket in the user's private folder: one line per start,
// the file as a file URL. Both ends make sure the other is a program of the same user.
#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "app/PrivateFolder.h"

namespace velkor {
namespace {

// A path of kMaxPathBytes, every byte percent-encoded, behind "file://".
constexpr int kMaxLineBytes = 3 * SingleInstance::kMaxPathBytes + 16;
// How long a start may take to be let in and to write its line.
constexpr int kConnectSeconds = 5;
// A connection that has not sent its whole line by then is dropped.
constexpr std::chrono::milliseconds kIdleLimit{1000};
constexpr int kReadAgainMs = 50;
constexpr int kResumeMs = 100;
// Connections held open at once; a burst beyond that cannot use up the descriptors that
// the window needs for its files.
constexpr std::size_t kMaxWaiting = 64;
constexpr int kAcceptsPerTurn = 256;
constexpr std::chrono::seconds kTurnPatience{30};

void report(const QString& text) {
    std::fprintf(stderr, "velkor2tr: %s\n", qPrintable(text));
}

QString cannotServe(const QString& name, const QString& why) {
    return QString("cannot serve later starts at %1: %2; this window runs on its own")
        .arg(name, why);
}

QString currentUser() {
    return QString::number(::geteuid());
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

bool fitsAddress(const QByteArray& path) {
    return static_cast<std::size_t>(path.size()) < sizeof(sockaddr_un::sun_path);
}

sockaddr_un addressOf(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return address;
}

// 0 when connected, else why not (ECONNREFUSED: nobody listens on the socket).
int connectTo(int fd, const QByteArray& path) {
    if (!fitsAddress(path)) {
        return ENAMETOOLONG;
    }
    const timeval patience{kConnectSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    const sockaddr_un address = addressOf(path);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return errno;
    }
    return 0;
}

bool peerIsThisUser(int fd, uid_t& peer) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return false;
    }
    peer = credentials.uid;
    return peer == ::geteuid();
}

bool sendAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += n;
    }
    return true;
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
    readAgain_.setInterval(kReadAgainMs);
    connect(&readAgain_, &QTimer::timeout, this, &SingleInstance::readWaiting);
    resume_.setSingleShot(true);
    resume_.setInterval(kResumeMs);
    connect(&resume_, &QTimer::timeout, this, [this] { notifier_->setEnabled(true); });
}

SingleInstance::~SingleInstance() {
    if (!isListening()) {
        return;
    }
    // Only the socket this program made: a later program may have the name by now.
    const QByteArray path = QFile::encodeName(name_);
    struct stat status {};
    if (::lstat(path.constData(), &status) == 0 && status.st_dev == socketDevice_ &&
        status.st_ino == socketInode_) {
        ::unlink(path.constData());
    }
}

std::unique_ptr<SingleInstance> SingleInstance::forThisUser() {
    const PrivateFolder folder(
        QFile::encodeName(qEnvironmentVariable("XDG_RUNTIME_DIR")).toStdString(),
        QFile::encodeName(QDir::tempPath()).toStdString());
    for (const std::string& problem : folder.problems()) {
        report(QString::fromLocal8Bit(problem.c_str()));
    }
    if (folder.path().empty()) {
        report("no private folder for the single window; this window runs on its own");
        return nullptr;
    }
    return std::make_unique<SingleInstance>(
        serverNameFor(QFile::decodeName(folder.path().c_str()), currentUser(), currentDisplay()));
}

QString SingleInstance::serverNameFor(const QString& folder, const QString& user,
                                      const QString& display) {
    return QDir(folder).filePath(QString("velkor2tr-%1-%2").arg(safePart(user), safePart(display)));
}

StartLock SingleInstance::waitForTurn() const {
    std::string problem;
    StartLock lock = StartLock::acquire(QFile::encodeName(name_ + ".lock").toStdString(),
                                        kTurnPatience, problem);
    if (!lock.held()) {
        report(QString::fromLocal8Bit(problem.c_str()) +
               "; going on without waiting for other starts");
    }
    return lock;
}

bool SingleInstance::handOver(const QString& file) const {
    const QByteArray line = requestLine(file);
    if (!fileOf(line.chopped(1))) {
        report(QString("%1: the name is too long to hand to the running window").arg(file));
        return false;
    }
    const FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid() || connectTo(fd.get(), QFile::encodeName(name_)) != 0) {
        return false;
    }
    uid_t peer = 0;
    if (!peerIsThisUser(fd.get(), peer)) {
        report(QString("%1 is served by a program of another user (uid %2); no file is "
                       "handed to it")
                   .arg(name_)
                   .arg(peer));
        return false;
    }
    return sendAll(fd.get(), line);
}

bool SingleInstance::listen() {
    if (isListening()) {
        return true;
    }
    const QByteArray path = QFile::encodeName(name_);
    if (!fitsAddress(path)) {
        report(cannotServe(name_, "the name is too long for a socket"));
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd.valid()) {
            break;
        }
        const sockaddr_un address = addressOf(path);
        if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            return serveOn(std::move(fd), path);
        }
        if (errno != EADDRINUSE) {
            break;
        }
        if (!clearStaleSocket(path)) {
            return false;
        }
    }
    report(cannotServe(name_, QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

std::optional<QString> SingleInstance::fileOf(const QByteArray& line) {
    if (line.isEmpty()) {
        return QString();
    }
    if (line.size() > kMaxLineBytes) {
        return std::nullopt;
    }
    const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile()) {
        return std::nullopt;
    }
    const QString file = url.toLocalFile();
    // No path holds a NUL: whatever follows one would not be the file that was named.
    if (file.isEmpty() || file.contains(QChar(0)) ||
        QFile::encodeName(file).size() > kMaxPathBytes) {
        return std::nullopt;
    }
    return file;
}

// A socket of this user's that nobody listens on is what a program that crashed leaves;
// anything else at the name is left alone and reported.
bool SingleInstance::clearStaleSocket(const QByteArray& path) const {
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISSOCK(status.st_mode) || status.st_uid != ::geteuid()) {
        report(QString("%1 is not a socket of this user's; this window runs on its own "
                       "(remove it, and the next window serves later starts)")
                   .arg(name_));
        return false;
    }
    const FileDescriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int refused = probe.valid() ? connectTo(probe.get(), path) : errno;
    if (refused == 0) {
        report(
            QString("another window serves at %1 already; this window runs on its own").arg(name_));
        return false;
    }
    if (refused != ECONNREFUSED && refused != ENOENT) {
        report(cannotServe(name_, QString::fromLocal8Bit(std::strerror(refused))));
        return false;
    }
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        report(cannotServe(name_, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

bool SingleInstance::serveOn(FileDescriptor fd, const QByteArray& path) {
    ::chmod(path.constData(), 0600);
    struct stat status {};
    if (::listen(fd.get(), SOMAXCONN) != 0 || ::lstat(path.constData(), &status) != 0) {
        const int why = errno;
        ::unlink(path.constData());
        report(cannotServe(name_, QString::fromLocal8Bit(std::strerror(why))));
        return false;
    }
    socketDevice_ = status.st_dev;
    socketInode_ = status.st_ino;
    listener_ = std::move(fd);
    notifier_ = std::make_unique<QSocketNotifier>(listener_.get(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    for (int i = 0; i < kAcceptsPerTurn; ++i) {
        FileDescriptor fd(
            ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (fd.valid()) {
            admit(std::move(fd));
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            makeRoom();
        }
        return;
    }
}

void SingleInstance::admit(FileDescriptor fd) {
    uid_t peer = 0;
    if (!peerIsThisUser(fd.get(), peer)) {
        return;  // closed unread
    }
    Caller caller{std::move(fd), {}, std::chrono::steady_clock::now()};
    if (readFrom(caller) == Progress::Done) {
        return;
    }
    if (waiting_.size() >= kMaxWaiting) {
        readFrom(waiting_.front());
        waiting_.pop_front();
    }
    waiting_.push_back(std::move(caller));
    if (!readAgain_.isActive()) {
        readAgain_.start();
    }
}

// Accepting failed, mostly for want of descriptors: the listening socket stays, and every
// start not yet let in keeps its place in the queue. The caller that has waited longest
// gives way; with none waiting, accepting rests a moment.
void SingleInstance::makeRoom() {
    if (!waiting_.empty()) {
        readFrom(waiting_.front());
        waiting_.pop_front();
        return;
    }
    notifier_->setEnabled(false);
    resume_.start();
}

void SingleInstance::readWaiting() {
    const auto now = std::chrono::steady_clock::now();
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        const bool over = readFrom(*it) == Progress::Done || now - it->since >= kIdleLimit;
        it = over ? waiting_.erase(it) : std::next(it);
    }
    if (waiting_.empty()) {
        readAgain_.stop();
    }
}

SingleInstance::Progress SingleInstance::readFrom(Caller& caller) {
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::recv(caller.fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return Progress::Waiting;
        }
        if (n <= 0) {
            return Progress::Done;  // closed before its line was whole, or failed
        }
        caller.received.append(chunk, n);
        const qsizetype end = caller.received.indexOf('\n');
        if (end >= 0) {
            request(caller.received.left(end));
            return Progress::Done;
        }
        if (caller.received.size() > kMaxLineBytes) {
            return Progress::Done;
        }
    }
}

void SingleInstance::request(const QByteArray& line) {
    const std::optional<QString> file = fileOf(line);
    if (!file) {
        return;
    }
    // Emitted from the event loop: opening the file may run a dialog, and the server's
    // own bookkeeping is done first.
    QMetaObject::invokeMethod(
        this, [this, file = *file] { emit openRequested(file); }, Qt::QueuedConnection);
}

}  // namespace velkor
