// The command line and the hand-over of a later start's file to the running window.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDialog>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "AppFixture.h"
#include "app/CommandLine.h"
#include "app/PrivateFolder.h"
#include "app/SingleInstance.h"
#include "core/FileDescriptor.h"
#include "support/ForkedChild.h"

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

sockaddr_un addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

bool bindAndListen(int fd, const std::string& path) {
    const sockaddr_un address = addressOf(path);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           ::listen(fd, 8) == 0;
}

bool connectSocket(int fd, const std::string& path) {
    const sockaddr_un address = addressOf(path);
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

FileDescriptor connectedTo(const std::string& path) {
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const timeval patience{5, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    return fd.valid() && connectSocket(fd.get(), path) ? std::move(fd) : FileDescriptor();
}

bool sendAll(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

std::string requestFor(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded().toStdString() + "\n";
}

// True once the other end has closed the connection.
bool closedByPeer(int fd) {
    char byte = 0;
    const ssize_t n = ::recv(fd, &byte, 1, MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

void openToEveryone(const std::filesystem::path& path) {
    std::filesystem::permissions(path, std::filesystem::perms::all);
}

// The open-file limit under which this process can open just `count` more descriptors.
rlim_t limitLeaving(int count) {
    int fd = 0;
    for (int left = count; left > 0; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            --left;
        }
    }
    return static_cast<rlim_t>(fd);
}

bool setOpenFileLimit(rlim_t soft) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = std::min(soft, limit.rlim_max);
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

// How long the burst's two processes wait for each other; only a test that fails waits
// that long.
constexpr int kBurstPatienceMs = 15000;

// Another process of the same user: a burst of connections that never say a word, and
// while they still hang on, a start that hands over its file. They hang on until the
// server says, on the eventfd `served`, that it has stopped waiting for the file.
bool burstThenHandOver(const QString& name, const QString& file, int idle, int served) {
    if (!setOpenFileLimit(RLIM_INFINITY)) {
        return false;
    }
    std::vector<FileDescriptor> silent;
    for (int i = 0; i < idle; ++i) {
        silent.push_back(connectedTo(name.toStdString()));
    }
    const bool handed = SingleInstance(name).handOver(file);
    pollfd done{served, POLLIN, 0};
    return ::poll(&done, 1, 2 * kBurstPatienceMs) == 1 && handed;
}

// The server in this (forked) process, its descriptors limited; the burst in another.
bool servesThroughABurst(const QString& name, const QString& file,
                         const std::function<rlim_t()>& openFileLimit) {
    // Made before the limit is set, which then counts it among the descriptors in use.
    const FileDescriptor served(::eventfd(0, EFD_CLOEXEC));
    SingleInstance running(name);
    if (!served.valid() || !running.listen() || !setOpenFileLimit(openFileLimit())) {
        return false;
    }
    // A plain slot, not a QSignalSpy: at the open-file limit the sanitizers' check of the
    // spy's virtual call cannot open the pipe it probes memory with.
    QStringList requests;
    QEventLoop waiting;
    QObject::connect(&running, &SingleInstance::openRequested, [&](const QString& f) {
        requests << f;
        waiting.quit();
    });
    const pid_t burst = ::fork();
    if (burst == 0) {
        ::_exit(burstThenHandOver(name, file, 300, served.get()) ? 0 : 1);
    }
    // The request is emitted from the event loop, so it cannot have come before this.
    QTimer::singleShot(kBurstPatienceMs, &waiting, &QEventLoop::quit);
    waiting.exec();
    const std::uint64_t one = 1;
    const bool told = ::write(served.get(), &one, sizeof one) == sizeof one;
    int status = -1;
    ::waitpid(burst, &status, 0);
    return told && requests.size() == 1 && requests.front() == file && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
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

TEST(SingleInstanceTest, SocketFolderIsTheUsersOwnOrThereIsNone) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string run = dir.path("run");
    fs::create_directory(run);
    fs::permissions(run, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(PrivateFolder(run, dir.path("none")).path(), run);

    // A runtime folder others may enter is passed over for one made in the temporary folder.
    fs::permissions(run, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
    const std::string own = "velkor2tr-" + std::to_string(::geteuid());
    const PrivateFolder made(run, dir.dir().string());
    EXPECT_EQ(made.path(), dir.path(own));
    EXPECT_EQ(PrivateFolder::problemWith(made.path()), "");
    ASSERT_EQ(made.problems().size(), 1u);
    EXPECT_EQ(made.problems().front(), "$XDG_RUNTIME_DIR: " + run + " has mode 0750, not 0700");

    // What another user may have left at the name in a shared temporary folder.
    struct Planted {
        std::string why;
        std::function<void(const std::string&)> plant;
    };
    const std::vector<Planted> planted = {
        {"symbolic link", [&](const std::string& at) { fs::create_directory_symlink(run, at); }},
        {"not a folder", [&](const std::string& at) { std::ofstream{at}; }},
        {"mode 0777",
         [&](const std::string& at) {
             fs::create_directory(at);
             openToEveryone(at);
         }},
        {"another user", [&](const std::string& at) {
             fs::create_directory(at, run);
             ASSERT_EQ(::chown(at.c_str(), ForkedChild::kNobody, ForkedChild::kNobody), 0);
         }}};
    for (const Planted& p : planted) {
        if (p.why == "another user" && ::geteuid() != 0) {
            continue;  // only root can give a folder away
        }
        const TempDir shared;
        p.plant(shared.path(own));
        const PrivateFolder none("", shared.dir().string());
        EXPECT_EQ(none.path(), "") << p.why;
        ASSERT_EQ(none.problems().size(), 1u) << p.why;
        EXPECT_NE(none.problems().front().find(p.why), std::string::npos)
            << none.problems().front();
    }
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

TEST(SingleInstanceTest, NoFileGoesToOrComesFromAProgramOfAnotherUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can act as another user";
    }
    TempDir dir;
    openToEveryone(dir.dir());
    const std::string theirs = dir.path("theirs");
    // The other user's listening socket stays open here after the child that made it ends.
    const FileDescriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ASSERT_TRUE(ForkedChild::run([&] { return bindAndListen(listener.get(), theirs); }, 10,
                                 ForkedChild::kNobody));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SingleInstance(QString::fromStdString(theirs)).handOver("day.velkor"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("another user"), std::string::npos);
    const FileDescriptor arrived(::accept4(listener.get(), nullptr, nullptr, SOCK_NONBLOCK));
    char byte = 0;
    EXPECT_TRUE(!arrived.valid() || ::recv(arrived.get(), &byte, 1, MSG_DONTWAIT) <= 0);

    const std::string ours = dir.path("ours");
    SingleInstance running(QString::fromStdString(ours));
    ASSERT_TRUE(running.listen());
    QSignalSpy requests(&running, &SingleInstance::openRequested);
    openToEveryone(ours);  // as if anyone could reach it
    const FileDescriptor client(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ASSERT_TRUE(ForkedChild::run([&] { return connectSocket(client.get(), ours); }, 10,
                                 ForkedChild::kNobody));
    ASSERT_TRUE(sendAll(client.get(), requestFor(dir.path("planted.velkor"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return closedByPeer(client.get()); }, 5000));
    // A start of this user's after it: any file the server made of the other user's
    // request would have come before this one's.
    const std::string own = dir.path("own.velkor");
    ASSERT_TRUE(SingleInstance(QString::fromStdString(ours)).handOver(QString::fromStdString(own)));
    ASSERT_TRUE(requests.wait(5000));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.front().front().toString().toStdString(), own);
}

TEST(SingleInstanceTest, ServerDropsIdleOverlongAndNulRequestsAndServesOn) {
    TempDir dir;
    const std::string name = dir.path("socket");
    SingleInstance running(QString::fromStdString(name));
    ASSERT_TRUE(running.listen());
    QSignalSpy requests(&running, &SingleInstance::openRequested);

    const FileDescriptor idle = connectedTo(name);
    const FileDescriptor endless = connectedTo(name);
    const FileDescriptor longPath = connectedTo(name);
    const FileDescriptor nul = connectedTo(name);
    ASSERT_TRUE(idle.valid() && endless.valid() && longPath.valid() && nul.valid());
    ASSERT_TRUE(sendAll(endless.get(), "file:///" + std::string(64 * 1024, 'a')));
    ASSERT_TRUE(sendAll(longPath.get(), requestFor("/" + std::string(4097, 'b'))));
    ASSERT_TRUE(sendAll(nul.get(), "file:///tmp/day%00.velkor\n"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return closedByPeer(idle.get()) && closedByPeer(endless.get()) &&
                   closedByPeer(longPath.get()) && closedByPeer(nul.get());
        },
        3000));

    const std::string later = dir.path("later.velkor");
    EXPECT_TRUE(
        SingleInstance(QString::fromStdString(name)).handOver(QString::fromStdString(later)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !requests.isEmpty(); }, 5000));
    // One more start: by the time its file comes, anything more the server made of the
    // earlier connections would have come before it.
    const std::string last = dir.path("last.velkor");
    EXPECT_TRUE(
        SingleInstance(QString::fromStdString(name)).handOver(QString::fromStdString(last)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return requests.size() >= 2; }, 5000));
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests.front().front().toString().toStdString(), later);
    EXPECT_EQ(requests.back().front().toString().toStdString(), last);
    EXPECT_TRUE(running.isListening());
}

TEST(SingleInstanceTest, BurstOfIdleConnectionsAtTheOpenFileLimitLeavesTheServerServing) {
    TempDir dir;
    const QString name = QString::fromStdString(dir.path("socket"));
    const QString file = QString::fromStdString(dir.path("later.velkor"));
    // The limit a desktop session often has, and one so tight that accepting fails.
    const std::function<rlim_t()> limits[] = {[] { return rlim_t{256}; },
                                              [] { return limitLeaving(12); }};
    for (const auto& limit : limits) {
        EXPECT_TRUE(ForkedChild::run([&] { return servesThroughABurst(name, file, limit); }, 40))
            << "open-file limit " << limit();
    }
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
