#include <gtest/gtest.h>

#include "serial/PortSearch.h"
#include "serial/SerialLink.h"
#include "serial/SerialPortFile.h"
#include "support/PseudoPort.h"
#include "support/RecordingPrompter.h"

namespace velkor {

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
