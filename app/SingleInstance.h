// One window per user and display: a later start hands its file to the running program.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace velkor {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // The user's server on the display the program shows on, in the user's runtime folder.
    static QString defaultServerName();
    static QString serverNameFor(const QString& folder, const QString& user,
                                 const QString& display);

    // Gives the file (an empty name only raises the window) to a program already
    // serving; false when none is.
    bool handOver(const QString& file) const;
    // Serves later starts; a socket left behind by a program that crashed is removed.
    bool listen();
    bool isListening() const { return server_.isListening(); }
    const QString& serverName() const { return name_; }

  signals:
    // A later start asked for this file (absolute; empty: just come to the front).
    void openRequested(const QString& file);

  private:
    void acceptConnection();

    QString name_;
    QLocalServer server_;
};

}  // namespace velkor
