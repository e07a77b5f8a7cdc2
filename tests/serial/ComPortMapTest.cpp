#include <gtest/gtest.h>

#include "serial/ComPortMap.h"
#include "support/PseudoPort.h"

namespace velkor {

TEST(ComPortMap, DefaultsAndOverrides) {
    const ComPortMap plain;
    EXPECT_EQ(plain.devicePath(1), "/dev/ttyS0");
    EXPECT_EQ(plain.devicePath(32), "/dev/ttyS31");
    EXPECT_EQ(plain.devicePath(33), "/dev/ttyUSB0");
    EXPECT_EQ(plain.devicePath(64), "/dev/ttyUSB31");
    EXPECT_EQ(plain.devicePath(65), "/dev/ttyACM0");
    EXPECT_EQ(plain.devicePath(99), "/dev/ttyACM34");
    EXPECT_EQ(plain.devicePath(0), "");
    EXPECT_EQ(plain.devicePath(100), "");
    const ComPortMap mapped({{5, "/dev/pts/3"}});
    EXPECT_EQ(mapped.devicePath(5), "/dev/pts/3");
    EXPECT_EQ(mapped.devicePath(6), "/dev/ttyS5");
    EXPECT_EQ(ComPortMap::portNumber("COM12"), 12);
    EXPECT_EQ(ComPortMap::portNumber("COM"), 0);
}

TEST(ComPortMap, ListsThePortsThatOpen) {
    PseudoPort a(false);
    PseudoPort b(false);
    const ComPortMap map({{2, a.path()}, {7, b.path()}, {9, "/dev/velkor-no-such-port"}});
    std::vector<std::string> ports = map.openablePorts();
    // Real ports of this machine may join them; ours are there, the missing one is not.
    EXPECT_NE(std::find(ports.begin(), ports.end(), "COM2"), ports.end());
    EXPECT_NE(std::find(ports.begin(), ports.end(), "COM7"), ports.end());
    EXPECT_EQ(std::find(ports.begin(), ports.end(), "COM9"), ports.end());
    EXPECT_LT(std::find(ports.begin(), ports.end(), "COM2"),
              std::find(ports.begin(), ports.end(), "COM7"));
}

}  // namespace velkor
