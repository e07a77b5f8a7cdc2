#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <thread>

#include "serial/PortSearch.h"
#include "serial/SerialLink.h"
#include "serial/SerialPortFile.h"
#include "support/PseudoPort.h"
#include "support/RecordingPrompter.h"

namespace velkor {
namespace {

// Runs in a child process that the alarm ends, so a search that never returns fails the
// test instead of hanging it; the outcome goes to the error stream.
void searchWhileAnAdapterIsPulledOut() {
    ::alarm(20);
    PseudoPort leaving(false);
    PseudoPort answering(true);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{1, leaving.path()}, {3, answering.path()}}), prompter);
    // COM1 goes away once it has been asked, while the search waits for its answer.
    // Whether the hang-up lands in the search's answer delay or in its read, the read
    // fails at once; were it to come later still, COM1 would merely stay silent: the
    // outcome is the same in every order.
    std::thread pull([&leaving] {
        leaving.waitFor(1);
        leaving.hangUp();
    });
    const int found = PortSearch::run(link, {"COM1", "COM3"}, "9600", prompter);
    pull.join();
    std::fprintf(stderr, "found %d messages %zu sent %s\n", found, prompter.shown.size(),
                 answering.waitFor(2).c_str());
    std::_Exit(0);
}

}  // namespace

TEST(PortSearch, FindsTheAnsweringPortAfterASilentOne) {
    PseudoPort silent(false);
    PseudoPort answering(true);
    RecordingPrompter prompter;
    SerialLink link(ComPortMap({{1, silent.path()}, {3, answering.path()}}), prompter);
    EXPECT_EQ(PortSearch::run(link, {"COM1", "COM3"}, "9600", prompter), 1);
    EXPECT_EQ(silent.received(), "a");
    EXPECT_EQ(answering.waitFor(2), "a0");
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(prompter.shown.empty());  // the time-out message is off during the search
}

TEST(PortSearch, GoesOnPastAPortThatHangsUp) {
    EXPECT_EXIT(searchWhileAnAdapterIsPulledOut(), ::testing::ExitedWithCode(0),
                "found 1 messages 0 sent a0");
}

TEST(PortSearch, NothingToSearchOrAPortInUse) {
    RecordingPrompter prompter;
    PseudoPort busy(true);
    PseudoPort answering(true);
    SerialLink link(ComPortMap({{5, busy.path()}, {6, answering.path()}}), prompter);
    EXPECT_EQ(PortSearch::run(link, {}, "19200", prompter), -1);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Device not found"}));

    SerialPortFile other(busy.path());
    prompter.shown.clear();
    EXPECT_EQ(PortSearch::run(link, {"COM5", "COM6"}, "19200", prompter), -1);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"COM error"}));
    EXPECT_EQ(answering.received(), "");  // the ports after it are not tried
}

}  // namespace velkor
