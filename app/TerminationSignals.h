// SIGTERM (logout, shutdown) and SIGINT end the program through its event loop, so that
// what it still had to write is written first. The handler only writes the signal's
// number to a pipe; the event loop reads it there and reports it with received().
#pragma once

#include <signal.h>

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "core/FileDescriptor.h"

namespace velkor {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    // One at a time: the handlers write to this object's pipe.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~TerminationSignals() override;

    // Ends the process by the signal, as if it had never been caught.
    [[noreturn]] static void endBy(int signal);

  signals:
    void received(int signal);

  private:
    void readPipe();

    FileDescriptor readEnd_;
    FileDescriptor writeEnd_;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

}  // namespace velkor
