// The program's command line: [--print] [FILE], --help and --version.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace velkor {

class CommandLine {
  public:
    enum class Outcome { Run, Help, Version, Error };

    CommandLine();

    // Reads the arguments, the program name first. Help and version win over any
    // other fault, so they answer even beside an option the program does not know.
    Outcome parse(const QStringList& arguments);

    QString file() const { return file_; }
    bool print() const { return print_; }
    // Why the arguments were refused (Outcome::Error).
    QString error() const { return error_; }

    QString helpText() const;
    static QString versionText();

    // Exit statuses of the program.
    static constexpr int kUsageError = 2;

  private:
    QCommandLineParser parser_;
    QCommandLineOption printOption_;
    QString file_;
    bool print_ = false;
    QString error_;
};

}  // namespace velkor
