#include <gtest/gtest.h>

#include <string>

#include "support/RecordingPrompter.h"
#include "support/SimControl.h"
#include "transfer/CFTD2XX.h"

namespace velkor {

TEST(CFTD2XX, MissingLibraryMakesEveryWrapperSaySo) {
    SimControl sim({}, "/nonexistent/libftd2xx.so");
    RecordingPrompter prompter;
    CFTD2XX usb(prompter);
    EXPECT_EQ(usb.bind(), -1);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(usb.filterDeviceList(CFTD2XX::kMagnetometer), 1u);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"FT_Close is not valid!",
                                        "FT_CreateDeviceInfoList is not valid!"}));
    DWORD n = 0;
    EXPECT_EQ(usb.read(&n, 1, n), 1u);
    EXPECT_EQ(prompter.texts().back(), "FT_Read is not valid!");
}

TEST(CFTD2XX, AMissingEntryPointIsNamed) {
    SimControl sim({}, VELKOR_SIM_PARTIAL_LIB);
    RecordingPrompter prompter;
    CFTD2XX usb(prompter);
    EXPECT_EQ(usb.bind(), -2);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Error: Can't Find FT_CreateDeviceInfoList"}));
    EXPECT_FALSE(usb.bound());
}

TEST(CFTD2XX, FilterKeepsExactDescriptionsInOrder) {
    const std::map<std::string, std::string> settings{
        {"VELKOR_SIM_DEVICES",
         "A1=Proton Magnetometer Velkor-2;B2=FT232R USB UART;C3=Proton Magnetometer "
         "Velkor-2;D4=Proton Magnetometer Velkor-2 ;E5=proton magnetometer velkor-2"}};
    SimControl sim(settings);
    RecordingPrompter prompter;
    CFTD2XX usb(prompter);
    ASSERT_EQ(usb.bind(), 1);
    ASSERT_EQ(usb.refreshDeviceList(), 0u);
    EXPECT_EQ(usb.deviceCount(), 5u);
    ASSERT_EQ(usb.filterDeviceList(CFTD2XX::kMagnetometer), 0u);
    ASSERT_EQ(usb.deviceCount(), 2u);
    EXPECT_STREQ(usb.deviceRecord(0)->SerialNumber, "A1");
    EXPECT_STREQ(usb.deviceRecord(1)->SerialNumber, "C3");
    EXPECT_EQ(usb.deviceRecord(2), nullptr);

    EXPECT_EQ(usb.openByIndex(2), 3u);  // not below the count: no call
    EXPECT_EQ(sim.opens(), 0);
    ASSERT_EQ(usb.openByIndex(1), 0u);
    EXPECT_EQ(sim.openedSerial(), "C3");
    EXPECT_TRUE(sim.isOpen());

    // A new listing closes the device left open, once.
    ASSERT_EQ(usb.filterDeviceList(CFTD2XX::kMagnetometer), 0u);
    EXPECT_FALSE(sim.isOpen());
    ASSERT_EQ(usb.filterDeviceList(CFTD2XX::kMagnetometer), 0u);
    EXPECT_EQ(sim.closes(), 1);
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace velkor
