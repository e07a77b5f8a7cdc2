#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "data/DataFile.h"
#include "data/DataSet.h"
#include "support/ForkedChild.h"
#include "support/KernelTestbed.h"
#include "support/PseudoPort.h"
#include "support/RecordingPrompter.h"
#include "support/ScopedEnv.h"
#include "support/SimControl.h"
#include "support/TempDir.h"
#include "transfer/CFTD2XX.h"
#include "transfer/Importer.h"
#include "transfer/KernelFtdiLink.h"
#include "transfer/SharedLibrary.h"
#include "transfer/TransferSession.h"
#include "transfer/UsbLinkChooser.h"

namespace velkor {
namespace {

const std::string kMagnetometer = UsbLink::kMagnetometer;

std::string serialOf(const UsbLink& link, DWORD i) {
    return link.deviceRecord(i)->SerialNumber;
}

// Imports through the link into a data set and writes it out; the file's bytes, or
// nothing with the messages shown when the import failed.
std::string importedFile(UsbLink& link, std::uint32_t device, const TempDir& dir,
                         RecordingPrompter& prompter) {
    DataSet data;
    if (!Importer(link, prompter).run(data, device)) {
        return {};
    }
    const std::string out = dir.path("imported.velkor");
    EXPECT_TRUE(DataFile::write(out, data, prompter));
    return TempDir::read(out);
}

class KernelFtdiLinkTest : public ::testing::Test {
  protected:
    TempDir scratch;    // the import file and written data files
    KernelTestbed bed;  // made before TMPDIR is set: other users must reach its ports
    ScopedEnv tmp{"TMPDIR", scratch.dir().string()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", std::nullopt};
    RecordingPrompter prompter;
};

}  // namespace

TEST_F(KernelFtdiLinkTest, OffersOnlyMagnetometersOnTheFtdiDriverInPortOrder) {
    bed.addMagnetometer(10, "VK2-TEN", {{"VELKOR_SIM_READINGS", "3"}});
    bed.addPort(3, "ftdi_sio", "FT232R USB UART", std::string("FT9A8B7C"));
    bed.addMagnetometer(2, "VK2-TWO", {{"VELKOR_SIM_READINGS", "2"}});
    // Claims the description, but the kernel's Prolific driver holds it: no FTDI bridge.
    bed.addPort(4, "pl2303", kMagnetometer, std::string("PL0001"));
    bed.addPort(5, "ftdi_sio", kMagnetometer + " ", std::string("TRAILING"));

    KernelFtdiLink link;
    ASSERT_EQ(link.filterDeviceList(kMagnetometer), FT_OK);
    ASSERT_EQ(link.deviceCount(), 2u);
    EXPECT_EQ(serialOf(link, 0), "VK2-TWO");
    EXPECT_EQ(serialOf(link, 1), "VK2-TEN");
    EXPECT_EQ(std::string(link.deviceRecord(1)->Description), kMagnetometer);
    EXPECT_EQ(link.deviceRecord(2), nullptr);
    EXPECT_EQ(link.openByIndex(2), FT_DEVICE_NOT_OPENED);

    ASSERT_EQ(link.openByIndex(1), FT_OK);
    EXPECT_EQ(link.openNode(), bed.node(10));
    EXPECT_EQ(link.lineSettings(), LineMode::parse("9600,n,8,1"));

    // Read anew at every listing: a bridge plugged in since is found, and the listing
    // closes what was open.
    bed.addMagnetometer(0, "VK2-ZERO");
    ASSERT_EQ(link.filterDeviceList(kMagnetometer), FT_OK);
    EXPECT_FALSE(link.deviceOpen());
    ASSERT_EQ(link.deviceCount(), 3u);
    EXPECT_EQ(serialOf(link, 0), "VK2-ZERO");
    EXPECT_EQ(serialOf(link, 2), "VK2-TEN");

    // Index 1 is the second magnetometer: its own readings arrive.
    EXPECT_EQ(link.openByIndex(1), FT_OK);
    EXPECT_EQ(link.openNode(), bed.node(2));
    DataSet data;
    ASSERT_TRUE(Importer(link, prompter).run(data, 1));
    EXPECT_EQ(data.readingCount(), 2);
}

TEST_F(KernelFtdiLinkTest, BridgesSharingASerialNumberAreOpenedByTheirListedPort) {
    // Clones with one serial number, one of them a plain serial adapter listed first.
    bed.addPort(0, "ftdi_sio", "FT232R USB UART", std::string("A50285BI"));
    bed.addMagnetometer(1, "A50285BI", {{"VELKOR_SIM_READINGS", "2"}});
    bed.addMagnetometer(2, "A50285BI", {{"VELKOR_SIM_READINGS", "5"}});
    bed.addMagnetometer(3, "VK2-OWN", {{"VELKOR_SIM_READINGS", "3"}});

    KernelFtdiLink link;
    ASSERT_EQ(link.filterDeviceList(kMagnetometer), FT_OK);
    ASSERT_EQ(link.deviceCount(), 3u);
    const int readings[] = {2, 5, 3};
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(link.openByIndex(i), FT_OK) << i << ": " << link.openFailure();
        EXPECT_EQ(link.openNode(), bed.node(static_cast<int>(i) + 1)) << i;
        DataSet data;
        EXPECT_TRUE(Importer(link, prompter).run(data, i)) << i;
        EXPECT_EQ(data.readingCount(), readings[i]) << i;  // that instrument's own readings
    }
}

TEST_F(KernelFtdiLinkTest, RecordTextsAreCutAsTheLibraryHoldsThem) {
    const std::string longDescription(70, 'D');
    bed.addPort(0, "ftdi_sio", longDescription, std::string("0123456789ABCDEFGH"));
    bed.addPort(1, "ftdi_sio", kMagnetometer, std::nullopt);  // no serial file

    KernelFtdiLink link;
    ASSERT_EQ(link.filterDeviceList(longDescription.substr(0, 63)), FT_OK);
    ASSERT_EQ(link.deviceCount(), 1u);
    EXPECT_EQ(serialOf(link, 0), "0123456789ABCDE");
    EXPECT_EQ(std::string(link.deviceRecord(0)->Description), longDescription.substr(0, 63));

    ASSERT_EQ(link.filterDeviceList(kMagnetometer), FT_OK);
    ASSERT_EQ(link.deviceCount(), 1u);
    EXPECT_EQ(serialOf(link, 0), "");
}

TEST_F(KernelFtdiLinkTest, ImportGivesTheFileTheSimulatedLibraryGives) {
    const std::map<std::string, std::string> survey = {{"VELKOR_SIM_READINGS", "75"}};
    bed.addMagnetometer(0, "VK2-000123", survey);
    KernelFtdiLink kernel;
    const std::string throughKernel = importedFile(kernel, 0, scratch, prompter);
    EXPECT_TRUE(prompter.shown.empty()) << prompter.texts().front();
    EXPECT_EQ(prompter.transferLines.size(), 75u);
    EXPECT_FALSE(kernel.deviceOpen());

    SimControl library(survey);
    CFTD2XX d2xx(prompter);
    ASSERT_EQ(d2xx.bind(), 1);
    const std::string throughLibrary = importedFile(d2xx, 0, scratch, prompter);
    ASSERT_FALSE(throughLibrary.empty());
    EXPECT_EQ(throughKernel, throughLibrary);
}

TEST_F(KernelFtdiLinkTest, PermissionDeniedNamesTheNodeAndItsGroup) {
    const sim::PtyInstrument& pty = bed.addMagnetometer(0, "VK2-000123");
    // The user's side of it: the tree is readable by all, the port closed to anyone but
    // root (the child drops root; a user running the tests owns the port).
    namespace fs = std::filesystem;
    fs::permissions(bed.dir().dir(), fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    ASSERT_EQ(::chmod(pty.path().c_str(), 0), 0);
    struct stat st {};
    ASSERT_EQ(::stat(pty.path().c_str(), &st), 0);
    const group* g = ::getgrgid(st.st_gid);
    ASSERT_NE(g, nullptr);
    const std::string expected = "The USB device " + bed.node(0) + " belongs to the group " +
                                 g->gr_name +
                                 ": permission denied: add your user to the group that owns the "
                                 "port (usually dialout), then log in again.";
    const bool toldSo = ForkedChild::run(
        [&] {
            KernelFtdiLink link;
            RecordingPrompter asked;
            DataSet data;
            return !Importer(link, asked).run(data, 0) && asked.texts().size() == 1 &&
                   asked.texts().front() == expected;
        },
        10, ForkedChild::kNobody);
    EXPECT_TRUE(toldSo) << expected;
}

TEST_F(KernelFtdiLinkTest, UnpluggedDuringATransferEndsAtOnceAsALinkFailure) {
    // The plug is pulled ten bytes into the third record.
    const long bytes = 1 + 4 + 2 * 52 + 10;
    bed.addMagnetometer(
        0, "VK2-000123",
        {{"VELKOR_SIM_READINGS", "6"}, {"VELKOR_SIM_FAULT", "break:" + std::to_string(bytes)}});
    KernelFtdiLink link;
    DataSet data;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Importer(link, prompter).run(data, 0));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"The transfer was interrupted after 2 of 6 readings. "
                                        "Nothing was imported; the readings shown before are "
                                        "unchanged."}));
    // Within one time-out: the hang-up is seen, not waited out.
    EXPECT_LT(took, std::chrono::milliseconds(TransferSession::kTimeoutMs));
    EXPECT_EQ(data.lineCount(), 0);

    // A port that hung up fails every read and write at once.
    sim::PtyInstrument& other = bed.addMagnetometer(1, "VK2-000124");
    ASSERT_EQ(link.openBySerial("VK2-000124"), FT_OK);
    other.unplug();
    std::uint8_t byte = '$';
    DWORD done = 0;
    EXPECT_EQ(link.read(&byte, 1, done), FT_IO_ERROR);
    EXPECT_EQ(link.write(&byte, 1, done), FT_IO_ERROR);
}

TEST_F(KernelFtdiLinkTest, ASilentPortReadsShortAtItsTimeOut) {
    bed.addMagnetometer(0, "VK2-000123", {{"VELKOR_SIM_FAULT", "silent"}});
    KernelFtdiLink link;
    ASSERT_EQ(link.openBySerial("VK2-000123"), FT_OK);
    ASSERT_EQ(link.setTimeouts(TransferSession::kSliceMs, TransferSession::kTimeoutMs), FT_OK);
    std::uint8_t echo = '$';
    DWORD done = 0;
    ASSERT_EQ(link.write(&echo, 1, done), FT_OK);
    EXPECT_EQ(done, 1u);
    // In a child under a deadline shorter than the default time-out: a read that ignored
    // the slice it was given would be killed, one that waited for ever could not hang.
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            std::uint8_t count[4];
            DWORD got = 9;
            return link.read(count, sizeof count, got) == FT_OK && got == 0;
        },
        2));
}

TEST_F(KernelFtdiLinkTest, InputLeftFromBeforeTheOpenIsDiscarded) {
    // A port whose far end answers "a" with "$": the answer to an earlier program's "a"
    // waits in the port when the link opens it.
    PseudoPort port(true);
    bed.addPort(0, "ftdi_sio", kMagnetometer, std::string("VK2-000123"), port.path());
    const int earlier = ::open(port.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(earlier, 0);
    ASSERT_EQ(::write(earlier, "a", 1), 1);
    pollfd waiting{earlier, POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 10000), 1);  // the deadline only ends an answer that never comes

    KernelFtdiLink link;
    ASSERT_EQ(link.openBySerial("VK2-000123"), FT_OK);
    ASSERT_EQ(link.setTimeouts(TransferSession::kSliceMs, TransferSession::kTimeoutMs), FT_OK);
    std::uint8_t stale = 0;
    DWORD got = 9;
    EXPECT_EQ(link.read(&stale, 1, got), FT_OK);
    EXPECT_EQ(got, 0u);
    ::close(earlier);
}

TEST_F(KernelFtdiLinkTest, PortsThatCannotBeOpenedSayWhy) {
    bed.addMagnetometer(0, "VK2-000123");
    bed.addPort(1, "ftdi_sio", kMagnetometer, std::string("VK2-GONE"));  // node missing
    KernelFtdiLink first;
    KernelFtdiLink second;
    ASSERT_EQ(first.filterDeviceList(kMagnetometer), FT_OK);
    ASSERT_EQ(second.filterDeviceList(kMagnetometer), FT_OK);
    ASSERT_EQ(first.openByIndex(0), FT_OK);
    EXPECT_NE(second.openByIndex(0), FT_OK);
    EXPECT_EQ(second.openFailure(),
              "The USB device " + bed.node(0) +
                  " is busy: another program holds it (a modem manager or a terminal program, "
                  "for example). Close that program, then import again.");
    EXPECT_NE(second.openByIndex(1), FT_OK);
    EXPECT_EQ(second.openFailure(), "The USB device " + bed.node(1) +
                                        " is gone: it was unplugged. Plug the instrument in "
                                        "again, then import again.");
    first.close();
    ASSERT_EQ(second.openByIndex(0), FT_OK);
    EXPECT_EQ(second.openFailure(), "");

    // A pseudo-terminal keeps 8 bits without parity whatever it is told; speed and stop
    // bits show that the setting was applied.
    ::setenv("VELKOR2TR_USB_MODE", "19200,n,8,2", 1);
    ASSERT_EQ(second.openByIndex(0), FT_OK);
    EXPECT_EQ(second.lineSettings(), LineMode::parse("19200,n,8,2"));
    ::setenv("VELKOR2TR_USB_MODE", "fast", 1);
    EXPECT_NE(second.openByIndex(0), FT_OK);
    EXPECT_EQ(second.openFailure(),
              "VELKOR2TR_USB_MODE is \"fast\", which is not a line setting such as "
              "9600,n,8,1; the USB device was not opened.");
}

TEST_F(KernelFtdiLinkTest, NoBridgeGivesNoUsbDeviceFound) {
    KernelFtdiLink link;
    DataSet data;
    EXPECT_FALSE(Importer(link, prompter).run(data));
    ::setenv("VELKOR2TR_SYSFS", scratch.path("no-such-folder").c_str(), 1);
    EXPECT_FALSE(Importer(link, prompter).run(data));
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const RecordingPrompter::Shown& s : prompter.shown) {
        EXPECT_EQ(s.text, "No USB device found");
        EXPECT_EQ(s.caption, "Info");
    }
}

TEST(UsbLinkChooser, ANamedLibraryAloneElseTheKernelDriver) {
    RecordingPrompter prompter;
    {
        SimControl missing({}, "/nonexistent/libftd2xx.so");
        const std::unique_ptr<UsbLink> link = UsbLinkChooser::choose(prompter);
        EXPECT_EQ(link->linkName(), "FTDI D2XX library /nonexistent/libftd2xx.so");
        EXPECT_FALSE(link->usable());
        EXPECT_EQ(link->filterDeviceList(UsbLink::kMagnetometer), 1u);
        EXPECT_EQ(prompter.texts().front(), "FT_Close is not valid!");
    }
    {
        SimControl sim;
        const std::unique_ptr<UsbLink> link = UsbLinkChooser::choose(prompter);
        EXPECT_EQ(link->linkName(), std::string("FTDI D2XX library ") + VELKOR_SIM_LIB);
        EXPECT_TRUE(link->usable());
    }
    ::unsetenv("VELKOR2TR_D2XX");
    if (SharedLibrary().load(CFTD2XX::libraryName())) {
        GTEST_SKIP() << "the FTDI library is installed here, so it is chosen";
    }
    EXPECT_EQ(UsbLinkChooser::choose(prompter)->linkName(), "kernel FTDI serial driver");
}

}  // namespace velkor
