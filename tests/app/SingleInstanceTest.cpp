// The command line and the hand-over of a later start's file to the running window.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <cstring>

#include "AppFixture.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

namespace velkor {
namespace {

CommandLine::Outcome parsed(CommandLine& line, const QStringList& args) {
    return line.parse(QStringList{"velkor2tr"} + args);
}

// What a program killed while serving leaves: a socket file nobody listens on.
void leaveStaleSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

}  // namespace

TEST(CommandLineTest, FileAndPrintRequest) {
    CommandLine open;
    EXPECT_EQ(parsed(open, {"day.velkor"}), CommandLine::Outcome::Run);
    EXPECT_EQ(open.file(), "day.velkor");
    EXPECT_FALSE(open.print());

    for (const QStringList& args :
         {QStringList{"--print", "day.velkor"}, QStringList{"day.velkor", "-p"},
          QStringList{"/p", "day.velkor"}}) {
        CommandLine print;
        EXPECT_EQ(parsed(print, args), CommandLine::Outcome::Run) << args.join(' ').toStdString();
        EXPECT_EQ(print.file(), "day.velkor");
        EXPECT_TRUE(print.print());
    }

    CommandLine none;
    EXPECT_EQ(parsed(none, {}), CommandLine::Outcome::Run);
    EXPECT_TRUE(none.file().isEmpty());
}

TEST(CommandLineTest, RefusesWhatItCannotCarryOut) {
    CommandLine unknown;
    EXPECT_EQ(parsed(unknown, {"--colour", "day.velkor"}), CommandLine::Outcome::Error);
    EXPECT_TRUE(unknown.error().contains("colour"));
    CommandLine two;
    EXPECT_EQ(parsed(two, {"a.velkor", "b.velkor"}), CommandLine::Outcome::Error);
    CommandLine printNothing;
    EXPECT_EQ(parsed(printNothing, {"--print"}), CommandLine::Outcome::Error);
    EXPECT_TRUE(printNothing.error().contains("FILE"));
}

TEST(CommandLineTest, HelpAndVersionAnswerBesideAnythingElse) {
    CommandLine help;
    EXPECT_EQ(parsed(help, {"--colour", "-h"}), CommandLine::Outcome::Help);
    const QString text = help.helpText();
    EXPECT_TRUE(text.startsWith("Usage: velkor2tr [options] [FILE]\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("--print")) << text.toStdString();
    EXPECT_TRUE(text.contains("--version")) << text.toStdString();

    CommandLine version;
    EXPECT_EQ(parsed(version, {"a.velkor", "b.velkor", "--version"}),
              CommandLine::Outcome::Version);
    EXPECT_TRUE(CommandLine::versionText().startsWith("Velkor2tr 3."));
}

TEST(SingleInstanceTest, ServerIsNamedPerUserAndDisplay) {
    const QString zero = SingleInstance::serverNameFor("/run/user/1000", "1000", ":0");
    EXPECT_EQ(zero, "/run/user/1000/velkor2tr-1000-_0");
    EXPECT_NE(zero, SingleInstance::serverNameFor("/run/user/1000", "1000", ":1"));
    EXPECT_NE(SingleInstance::serverNameFor("/tmp", "1000", ":0"),
              SingleInstance::serverNameFor("/tmp", "1001", ":0"));
    // A display name cannot lead the socket out of its folder.
    EXPECT_EQ(SingleInstance::serverNameFor("/tmp", "7", "../x"), "/tmp/velkor2tr-7-.._x");
    EXPECT_EQ(SingleInstance::serverNameFor("/tmp", "7", ""), "/tmp/velkor2tr-7-none");
}

TEST(SingleInstanceTest, WithNoProgramRunningNothingIsHandedOver) {
    TempDir dir;
    const SingleInstance later(QString::fromStdString(dir.path("socket")));
    EXPECT_FALSE(later.handOver("day.velkor"));
}

TEST(SingleInstanceTest, StaleSocketOfACrashedProgramDoesNotBlock) {
    TempDir dir;
    const QString name = QString::fromStdString(dir.path("socket"));
    leaveStaleSocket(name.toStdString());
    const SingleInstance later(name);
    EXPECT_FALSE(later.handOver("day.velkor"));

    SingleInstance running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy requests(&running, &SingleInstance::openRequested);
    EXPECT_TRUE(later.handOver(QString::fromStdString(dir.path("day 2\nnight.velkor"))));
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.front().front().toString().toStdString(), dir.path("day 2\nnight.velkor"));
}

class HandOverTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        running = std::make_unique<SingleInstance>(QString::fromStdString(dir.path("socket")));
        ASSERT_TRUE(running->listen());
        QObject::connect(running.get(), &SingleInstance::openRequested, app.get(),
                         &CVelkor1trApp::openRequested);
    }

    bool handOver(const std::string& file) {
        return SingleInstance(running->serverName()).handOver(QString::fromStdString(file));
    }

    std::unique_ptr<SingleInstance> running;
};

TEST_F(HandOverTest, RunningWindowOpensTheFileAfterItsOfferToSave) {
    ASSERT_TRUE(start({QString::fromStdString(surveyFile("first.velkor", 4))}));
    doc().setModified(true);
    prompter.saveAnswers.push_back(Prompter::Answer::Cancel);
    const std::string second = surveyFile("second.velkor", 9);
    ASSERT_TRUE(handOver(second));
    QTRY_COMPARE(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked.front(), "save:first");
    EXPECT_EQ(doc().data().readingCount(), 4);

    prompter.saveAnswers.push_back(Prompter::Answer::No);
    ASSERT_TRUE(handOver(second));
    QTRY_COMPARE(doc().data().readingCount(), 9);
    EXPECT_EQ(caption(), "second - Velkor2tr");
}

TEST_F(HandOverTest, RequestWaitsWhileADialogIsOpen) {
    ASSERT_TRUE(start());
    QDialog dialog(&frame());
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

    QSignalSpy requests(running.get(), &SingleInstance::openRequested);
    ASSERT_TRUE(handOver(surveyFile("later.velkor", 3)));
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(doc().data().readingCount(), 0);

    dialog.close();
    QTRY_COMPARE(doc().data().readingCount(), 3);
}

}  // namespace velkor
