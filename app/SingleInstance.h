// One window per user and display: a later start hands its file to the running program.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>

#include "app/StartLock.h"
#include "core/FileDescriptor.h"

namespace velkor {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // A request is one line, the file as a file URL; the path holds at most this many bytes.
    static constexpr int kMaxPathBytes = 4096;

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    // Removes the socket this program serves on.
    ~SingleInstance() override;

    // The user's server on the display the program shows on, in a folder only the user
    // can enter. Nothing when there is no such folder (said on stderr): the start runs
    // as a window of its own.
    static std::unique_ptr<SingleInstance> forThisUser();
    static QString serverNameFor(const QString& folder, const QString& user,
                                 const QString& display);

    // Starts take turns between here and listen(): the turn lasts while the lock lives.
    // A turn that cannot be had (said on stderr) lets the start go on regardless.
    StartLock waitForTurn() const;
    // Gives the file (an empty name only raises the window) to a program of this user
    // already serving; false when none is.
    bool handOver(const QString& file) const;
    // Serves later starts; a socket of this user's left by a program that crashed is
    // removed. False, said on stderr, when the program cannot serve.
    bool listen();
    bool isListening() const { return listener_.valid(); }
    const QString& serverName() const { return name_; }

    // The file a request line (without its newline) names: empty for "just come to the
    // front"; nothing for a line that is no request of ours.
    static std::optional<QString> fileOf(const QByteArray& line);

  signals:
    // A later start asked for this file (absolute; empty: just come to the front).
    void openRequested(const QString& file);

  private:
    // A connection whose request line has not come in whole yet.
    struct Caller {
        FileDescriptor fd;
        QByteArray received;
        std::chrono::steady_clock::time_point since;
    };
    enum class Progress { Waiting, Done };

    bool clearStaleSocket(const QByteArray& path) const;
    bool serveOn(FileDescriptor fd, const QByteArray& path);
    void acceptConnections();
    void admit(FileDescriptor fd);
    void makeRoom();
    void readWaiting();
    Progress readFrom(Caller& caller);
    void request(const QByteArray& line);

    QString name_;
    FileDescriptor listener_;
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::deque<Caller> waiting_;
    QTimer readAgain_;
    QTimer resume_;
};

}  // namespace velkor
