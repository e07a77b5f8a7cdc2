#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "serial/SerialLink.h"
#include "serial/SerialPortFile.h"
#include "support/PseudoPort.h"
#include "support/RecordingPrompter.h"

namespace velkor {
namespace {

double secondsOf(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs in a child process that the alarm ends, so a read that never returns fails the
// test instead of hanging it; the outcome goes to the error stream. The far end goes
// after the port is open and before the read: a hang-up that comes while the read waits
// leaves the port in the same state, which the read's wait reports the same way, so
// fixing the order loses nothing and leaves no outcome to timing.
void readAfterTheFarEndWent() {
    ::alarm(10);
    PseudoPort port(false);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{1, port.path()}}), prompter);
    if (!link.open(1, "9600,n,8,1", true)) {
        std::_Exit(1);
    }
    port.hangUp();
    const int byte = link.readByte();
    std::fprintf(stderr, "byte %d error %d messages %zu\n", byte, link.takeError(),
                 prompter.shown.size());
    std::_Exit(0);
}

}  // namespace

TEST(SerialLink, OpenSetsTheLineAndBytesPass) {
    PseudoPort port(true);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{4, port.path()}}), prompter);
    ASSERT_TRUE(link.open(4, "4800,n,8,1", true));
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(link.takeError(), 0);
    EXPECT_EQ(link.lineSettings(), (LineMode{4800, 'n', 8, 1}));
    link.writeByte(0x161);  // only the low 8 bits go out: "a"
    EXPECT_EQ(link.readByte(), '$');
    EXPECT_EQ(port.waitFor(1), "a");
    EXPECT_EQ(link.takeError(), 0);

    // A mode string that cannot be read leaves the port as it was (a pseudo-terminal
    // keeps speed and stop bits; it ignores parity and data bits).
    link.close();
    ASSERT_TRUE(link.open(4, "9600,n,8,2", false));
    link.close();
    ASSERT_TRUE(link.open(4, "quick please", false));
    EXPECT_EQ(link.lineSettings(), (LineMode{9600, 'n', 8, 2}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(SerialLink, SilenceTimesOutAndTheErrorFlagHolds) {
    PseudoPort port(false);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{1, port.path()}}), prompter);
    ASSERT_TRUE(link.open(1, "19200,n,8,1", true));
    std::uint8_t byte = 0xFF;
    const double waited = secondsOf([&] { byte = link.readByte(); });
    EXPECT_EQ(byte, 0);
    EXPECT_GT(waited, 1.5);
    EXPECT_LT(waited, 10.0);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{SerialLink::kTimeOut}));
    EXPECT_EQ(prompter.shown.back().caption, "ERROR");

    // With the flag set nothing is read or written, and nothing waits.
    EXPECT_LT(secondsOf([&] { EXPECT_EQ(link.readByte(), 0); }), 1.0);
    link.writeByte('x');
    EXPECT_EQ(link.takeError(), 1);
    EXPECT_EQ(link.takeError(), 0);
    EXPECT_EQ(port.received(), "");
    link.close();
    link.close();  // closing twice does nothing
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.readByte(), 0);
}

TEST(SerialLink, AReadFailsWhenTheFarEndGoesAway) {
    // A hang-up is no time-out: no message, but the error flag is set.
    EXPECT_EXIT(readAfterTheFarEndWent(), ::testing::ExitedWithCode(0),
                "byte 0 error 1 messages 0");
}

TEST(SerialLink, PortsThatCannotBeOpened) {
    PseudoPort port(false);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{2, "/dev/velkor-no-such-port"}, {3, port.path()}}), prompter);
    EXPECT_FALSE(link.open(2, "4800,n,8,1", false));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.takeError(), 1);
    EXPECT_EQ(link.takeError(), 0);

    // In use by someone else: refused too.
    SerialPortFile other(port.path());
    ASSERT_TRUE(other.isOpen());
    EXPECT_FALSE(link.open(3, "4800,n,8,1", false));
    EXPECT_EQ(link.takeError(), 1);
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace velkor
