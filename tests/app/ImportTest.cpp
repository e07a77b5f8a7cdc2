#include <gtest/gtest.h>

#include <stdlib.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <random>
#include <sstream>

#include "AppFixture.h"
#include "ImportFixture.h"
#include "app/CAboutDlg.h"
#include "cli/CliTool.h"
#include "core/CommandTable.h"
#include "support/KernelTestbed.h"
#include "support/SimControl.h"
#include "transfer/ByteLink.h"
#include "transfer/CFTD2XX.h"
#include "transfer/InstrumentRecord.h"
#include "transfer/SharedLibrary.h"
#include "transfer/TransferSession.h"
#include "widgets/day/CUSBDialog.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/day/DlgTransfer.h"

namespace velkor {
namespace {

// An instrument that never answers. Each read lets the window handle what is pending, as
// a slice's wait does in the field, so a click on Cancel lands between two reads.
class SilentLink : public ByteLink {
  public:
    FT_STATUS write(const void*, DWORD count, DWORD& written) override {
        written = count;
        return FT_OK;
    }
    FT_STATUS read(void*, DWORD, DWORD& received) override {
        received = 0;
        ++reads;
        QCoreApplication::processEvents();
        return FT_OK;
    }
    int reads = 0;
};

using ImportTest = ImportFixture;

}  // namespace

TEST_F(ImportTest, CtrlIImportsFromTheSimulatedInstrument) {
    SimControl sim(SimControl::Settings{{"VELKOR_SIM_READINGS", "30"}});
    ASSERT_TRUE(start());
    openData(surveyFile("before.velkor", 5));
    frame().listView()->selectRow(0);
    frame().dispatch(cmd::Delete);
    ASSERT_TRUE(doc().isModified());

    // Cancel in the device dialog: nothing changes, the save offer came once.
    prompter.saveAnswers.push_back(Prompter::Answer::No);
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(prompter.asked,
              (std::vector<std::string>{"open:Velkor2tr files (*.velkor)|*.velkor||:velkor",
                                        "save:before", "device:Proton Magnetometer Velkor-2"}));
    EXPECT_EQ(doc().data().readingCount(), 4);
    EXPECT_TRUE(doc().isModified());

    prompter.saveAnswers.push_back(Prompter::Answer::No);
    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    EXPECT_EQ(doc().data().readingCount(), 30);
    EXPECT_EQ(frame().listView()->model()->rowCount(), 30);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(caption(), "Untitled - Velkor2tr");
    EXPECT_EQ(prompter.progressReceived, 30u);
    EXPECT_FALSE(sim.isOpen());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ImportTest, ImportedReadingsStartAtTheFirstRowAndAreCounted) {
    SimControl sim(SimControl::Settings{{"VELKOR_SIM_READINGS", "30"}});
    ASSERT_TRUE(start());
    frame().resize(900, 300);
    openData(surveyFile("long.velkor", 400));
    CVelkor1trView& list = *frame().listView();
    QApplication::processEvents();
    list.verticalScrollBar()->setValue(215);
    QApplication::processEvents();
    ASSERT_EQ(list.rowAt(0), 215);

    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    ASSERT_EQ(doc().data().readingCount(), 30);
    QApplication::processEvents();
    EXPECT_EQ(list.rowAt(0), 0);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "Imported 30 readings");
}

TEST_F(ImportTest, ReadingsCutToTheirLineAreNamedOnceShown) {
    SimControl sim(
        SimControl::Settings{{"VELKOR_SIM_READINGS", "6"}, {"VELKOR_SIM_FAULT", "huge"}});
    ASSERT_TRUE(start());
    openData(surveyFile("before.velkor", 5));
    int rowsShown = -1;
    std::string captionShown;
    prompter.onMessage = [&] {
        rowsShown = frame().listView()->model()->rowCount();
        captionShown = caption();
    };
    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"2 readings held values too large for their columns and "
                                        "were cut to 84 characters: readings 2, 5."}));
    EXPECT_EQ(rowsShown, 6);
    EXPECT_EQ(captionShown, "Untitled - Velkor2tr");
}

TEST_F(ImportTest, AnInterruptedImportKeepsTheShownReadings) {
    SimControl sim(
        SimControl::Settings{{"VELKOR_SIM_READINGS", "30"}, {"VELKOR_SIM_FAULT", "break:500"}});
    ASSERT_TRUE(start());
    openData(surveyFile("before.velkor", 5));
    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{
                                    "The transfer was interrupted after 9 of 30 readings. Nothing "
                                    "was imported; the readings shown before are unchanged."}));
    EXPECT_EQ(frame().listView()->model()->rowCount(), 5);
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(caption(), "before - Velkor2tr");
}

TEST_F(ImportTest, TransferWindowKeepsTheTenNewest) {
    DlgTransfer window;
    EXPECT_EQ(window.windowTitle(), "Transfer...");
    EXPECT_TRUE(window.isVisible());
    for (int i = 1; i <= 12; ++i) {
        InstrumentRecord r;
        r.position = static_cast<std::int16_t>(i);
        window.addLine(r.progressLine());
        window.setProgress(static_cast<std::uint32_t>(i), 12);
    }
    ASSERT_EQ(window.list()->count(), 10);
    EXPECT_TRUE(window.list()->item(0)->text().contains("  0003 "));
    EXPECT_TRUE(window.list()->item(9)->text().contains("  0012 "));
    EXPECT_FALSE(window.list()->item(9)->text().endsWith('\r'));
    EXPECT_EQ(window.linesAdded(), 12);
    EXPECT_EQ(window.progress()->value(), 12);
    EXPECT_FALSE(window.cancelled());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.cancelled());
    EXPECT_TRUE(window.isVisible());  // it stays until the transfer ends
}

TEST_F(ImportTest, TheTransferWindowShowsWhatUpdatesForEachReadingShowed) {
    // The reference: a list and a progress bar changed at every call, as the window
    // once did; the window must look the same whenever it is looked at.
    QListWidget list;
    QProgressBar bar;
    bar.setRange(0, 1);
    bar.setValue(0);
    DlgTransfer window;
    std::mt19937 rnd(8);
    for (int i = 1; i <= 3000; ++i) {
        InstrumentRecord r;
        r.position = static_cast<std::int16_t>(i);
        const std::string line = r.progressLine();
        window.addLine(line);
        QString text = QString::fromLatin1(line.c_str());
        while (text.endsWith('\n') || text.endsWith('\r')) {
            text.chop(1);
        }
        if (list.count() >= DlgTransfer::kShownLines) {
            delete list.takeItem(0);
        }
        list.addItem(text);
        if (rnd() % 3 != 0) {
            const auto count = static_cast<std::uint32_t>(i % 7 == 0 ? 0 : 3000);
            window.setProgress(static_cast<std::uint32_t>(i), count);
            bar.setRange(0, static_cast<int>(count > 0 ? count : 1));
            bar.setValue(i);
            bar.setFormat(QString("%1 of %2 readings").arg(i).arg(count));
        }
        if (rnd() % 97 == 0 || i == 3000) {
            ASSERT_EQ(window.list()->count(), list.count()) << i;
            for (int k = 0; k < list.count(); ++k) {
                ASSERT_EQ(window.list()->item(k)->text(), list.item(k)->text()) << i;
            }
            ASSERT_EQ(window.progress()->maximum(), bar.maximum()) << i;
            ASSERT_EQ(window.progress()->value(), bar.value()) << i;
            ASSERT_EQ(window.progress()->text(), bar.text()) << i;
        }
    }
    EXPECT_EQ(window.linesAdded(), 3000);
}

TEST_F(ImportTest, CancelIsHeardWhileTheInstrumentIsSilent) {
    DlgTransfer window;
    ASSERT_TRUE(window.windowHandle()->isExposed());
    QPushButton* cancel = window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
    SilentLink link;
    const TransferSession::Result r = TransferSession(link, window).run(dir.path("$$new$$"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Cancelled);
    EXPECT_LT(link.reads, static_cast<int>(TransferSession::kSlices));
}

TEST_F(ImportTest, DeviceDialog) {
    CUSBDialog one;
    EXPECT_EQ(one.windowTitle(), "Select USB device to communicate with");
    EXPECT_EQ(one.selectionIndex(), 100u);
    one.setTexts({"Proton Magnetometer Velkor-2"});
    EXPECT_EQ(one.list()->currentRow(), 0);
    one.accept();
    EXPECT_EQ(one.selectionIndex(), 0u);

    CUSBDialog three;
    three.setTexts({"Proton Magnetometer Velkor-2", "Proton Magnetometer Velkor-2",
                    "Proton Magnetometer Velkor-2"});
    three.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&three));
    const QRect rect = three.list()->visualItemRect(three.list()->item(2));
    QTest::mouseClick(three.list()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(three.list()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    EXPECT_EQ(three.result(), QDialog::Accepted);
    EXPECT_EQ(three.selectionIndex(), 2u);

    // Ctrl+click takes the selection off the only entry; OK then names none.
    CUSBDialog none;
    none.setTexts({"Proton Magnetometer Velkor-2"});
    none.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&none));
    const QRect only = none.list()->visualItemRect(none.list()->item(0));
    QTest::mouseClick(none.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, only.center());
    ASSERT_TRUE(none.list()->selectedItems().isEmpty());
    QTest::mouseClick(none.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_EQ(none.selectionIndex(), 0xFFFFFFFFu);

    CUSBDialog cancelled;
    cancelled.setTexts({"Proton Magnetometer Velkor-2"});
    cancelled.reject();
    EXPECT_EQ(cancelled.selectionIndex(), 100u);
}

TEST_F(ImportTest, TheToolImportsTheSameFileAsTheWindow) {
    SimControl sim(SimControl::Settings{
        {"VELKOR_SIM_READINGS", "75"},
        {"VELKOR_SIM_DEVICES", "X1=FT232R USB UART;VK2-7=Proton Magnetometer Velkor-2"}});
    ASSERT_TRUE(start());
    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    prompter.files.push_back(dir.path("window.velkor"));
    frame().dispatch(cmd::SaveAs);

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(CliTool(out, err).run({"devices"}), 0);
    EXPECT_EQ(out.str(), "0\tVK2-7\tProton Magnetometer Velkor-2\n");
    EXPECT_EQ(err.str(), std::string("USB link: FTDI D2XX library ") + VELKOR_SIM_LIB + "\n");
    err.str("");
    EXPECT_EQ(CliTool(out, err).run({"import", dir.path("tool.velkor")}), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(TempDir::read(dir.path("tool.velkor")), TempDir::read(dir.path("window.velkor")));
    EXPECT_EQ(CliTool(out, err).run({"import", dir.path("x.velkor"), "--device", "1"}), 1);
    EXPECT_EQ(err.str(), "There is no magnetometer 1: 1 attached.\n");
    EXPECT_EQ(CliTool(out, err).run({"import", dir.path("x.velkor"), "--device", "one"}), 2);
}

TEST_F(ImportTest, TheWindowAndTheToolImportThroughTheKernelDriver) {
    KernelTestbed bed;  // no D2XX library named
    if (SharedLibrary().load(CFTD2XX::libraryName())) {
        GTEST_SKIP() << "the FTDI library is installed here, so it is chosen";
    }
    const std::string survey = surveyFile("day.velkor", 12);
    bed.addMagnetometer(10, "VK2-TEN", {{"VELKOR_SIM_SURVEY", survey}});
    bed.addMagnetometer(2, "VK2-TWO", {{"VELKOR_SIM_READINGS", "5"}});
    bed.addPort(3, "ftdi_sio", "FT232R USB UART", std::string("FT9A8B7C"));
    ASSERT_TRUE(start());

    QString aboutLink;
    QTimer::singleShot(0, [&aboutLink] {
        QWidget* about = QApplication::activeModalWidget();
        if (about != nullptr) {
            aboutLink = about->findChild<QLabel*>("usbLink")->text();
            about->close();
        }
    });
    frame().dispatch(cmd::About);
    EXPECT_EQ(aboutLink, "USB link: kernel FTDI serial driver");

    prompter.devices.push_back(1u);
    frame().dispatch(cmd::Import);
    EXPECT_EQ(prompter.asked.back(),
              "device:Proton Magnetometer Velkor-2|Proton Magnetometer Velkor-2");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(doc().data().readingCount(), 12);
    prompter.files.push_back(dir.path("window.velkor"));
    frame().dispatch(cmd::SaveAs);
    EXPECT_EQ(TempDir::read(dir.path("window.velkor")), TempDir::read(survey));

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(CliTool(out, err).run({"devices"}), 0);
    EXPECT_EQ(err.str(), "USB link: kernel FTDI serial driver\n");
    EXPECT_EQ(out.str(),
              "0\tVK2-TWO\tProton Magnetometer Velkor-2\n"
              "1\tVK2-TEN\tProton Magnetometer Velkor-2\n");
    err.str("");
    EXPECT_EQ(CliTool(out, err).run({"import", dir.path("tool.velkor"), "--device", "1"}), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(TempDir::read(dir.path("tool.velkor")), TempDir::read(survey));
}

}  // namespace velkor
