#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include "AppFixture.h"
#include "app/SettingsStore.h"
#include "core/CommandTable.h"
#include "serial/SerialLink.h"
#include "support/PseudoPort.h"
#include "widgets/day/CCmSetup.h"

namespace velkor {
namespace {

class CommSetupTest : public AppFixture {
  protected:
    CommSettings stored() { return SettingsStore::readComm(); }
};

QPushButton* okButton(const QDialog& dialog) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == "OK") {
            return b;
        }
    }
    return nullptr;
}

// Types over what the box's edit field shows, as a user would.
void typeInto(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), text);
}

const std::vector<std::string> kThreePorts{"COM1", "COM3", "COM9"};

}  // namespace

TEST_F(CommSetupTest, FirstRunOpensInRs232ModeWithNothingChosen) {
    RecordingPrompter local;
    SerialLink link(ComPortMap(), local);
    CommSettings nothing{"", "", 0};
    CCmSetup dialog(nothing, {"COM1", "COM3"}, link, local);
    EXPECT_EQ(dialog.windowTitle(), "Comunication Setup");
    EXPECT_TRUE(dialog.rs232Button()->isChecked());
    EXPECT_FALSE(dialog.usbButton()->isChecked());
    EXPECT_EQ(dialog.portList()->currentIndex(), -1);
    EXPECT_EQ(dialog.speedList()->currentIndex(), -1);
    std::vector<std::string> speeds;
    for (int i = 0; i < dialog.speedList()->count(); ++i) {
        speeds.push_back(dialog.speedList()->itemText(i).toStdString());
    }
    EXPECT_EQ(speeds, (std::vector<std::string>{"19200", "9600", "4800", "2400", "1200", "300"}));
    dialog.accept();
    EXPECT_EQ(local.texts(), (std::vector<std::string>{"Pleas set COM port"}));
    EXPECT_EQ(dialog.result(), 0);

    // A port chosen, no speed: the speed text stays as it was.
    dialog.portList()->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.settings(), (CommSettings{"COM3", "", 0}));
}

TEST_F(CommSetupTest, UsbModeHidesTheSerialControls) {
    RecordingPrompter local;
    SerialLink link(ComPortMap(), local);
    CCmSetup dialog(CommSettings{"COM7", "4800", 1}, {"COM1", "COM7"}, link, local);
    dialog.show();
    EXPECT_TRUE(dialog.usbButton()->isChecked());
    EXPECT_FALSE(dialog.portList()->isVisible());
    EXPECT_FALSE(dialog.speedList()->isVisible());
    EXPECT_FALSE(dialog.autoDetectButton()->isVisible());
    EXPECT_EQ(dialog.portList()->currentText(), "COM7");
    EXPECT_EQ(dialog.speedList()->currentText(), "4800");

    QTest::mouseClick(dialog.rs232Button(), Qt::LeftButton);
    EXPECT_TRUE(dialog.rs232Button()->isChecked());
    EXPECT_FALSE(dialog.usbButton()->isChecked());
    EXPECT_TRUE(dialog.portList()->isVisible());
    QTest::mouseClick(dialog.usbButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.rs232Button()->isChecked());
    dialog.accept();
    EXPECT_EQ(dialog.settings(), (CommSettings{"COM7", "4800", 1}));
    EXPECT_TRUE(local.shown.empty());
}

TEST_F(CommSetupTest, AutoDetectSelectsTheAnsweringPort) {
    PseudoPort answering(true);
    RecordingPrompter local;
    SerialLink link(ComPortMap({{4, answering.path()}}), local);
    CCmSetup dialog(CommSettings{"COM9", "", 0}, {"COM4"}, link, local);
    EXPECT_EQ(dialog.portList()->currentIndex(), -1);  // COM9 cannot be opened now
    QTest::mouseClick(dialog.autoDetectButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.portList()->currentText(), "COM4");
    EXPECT_EQ(answering.waitFor(2), "a0");
    EXPECT_TRUE(local.shown.empty());

    CCmSetup empty(CommSettings{}, {}, link, local);
    empty.autoDetect();
    EXPECT_EQ(local.texts(), (std::vector<std::string>{"Device not found"}));
}

TEST_F(CommSetupTest, OkStoresWhatTheBoxesShow) {
    RecordingPrompter local;
    SerialLink link(ComPortMap(), local);
    CCmSetup dialog(CommSettings{"COM3", "9600", 0}, kThreePorts, link, local);
    dialog.show();
    typeInto(dialog.portList(), "COM9");
    typeInto(dialog.speedList(), "38400");
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.settings(), (CommSettings{"COM9", "38400", 0}));
    EXPECT_TRUE(local.shown.empty());

    // A typed speed is shown again next time; a cleared box keeps it.
    CCmSetup again(dialog.settings(), kThreePorts, link, local);
    again.show();
    EXPECT_EQ(again.speedList()->currentText(), "38400");
    typeInto(again.speedList(), "");
    typeInto(again.portList(), "COM1");
    QTest::mouseClick(okButton(again), Qt::LeftButton);
    EXPECT_EQ(again.settings(), (CommSettings{"COM1", "38400", 0}));
    EXPECT_TRUE(local.shown.empty());
}

TEST_F(CommSetupTest, OkRefusesAPortOrSpeedThatCannotBeUsed) {
    RecordingPrompter local;
    SerialLink link(ComPortMap(), local);
    CCmSetup dialog(CommSettings{"COM3", "9600", 0}, kThreePorts, link, local);
    dialog.show();
    typeInto(dialog.portList(), "COM12");  // not among the ports that can be opened
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    EXPECT_EQ(local.texts(), (std::vector<std::string>{"Pleas set COM port"}));
    EXPECT_TRUE(dialog.isVisible());

    typeInto(dialog.portList(), "COM1");
    for (const char* speed : {"38401", "fast", "-9600", "09600", "9600 "}) {
        local.shown.clear();
        typeInto(dialog.speedList(), speed);
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        ASSERT_EQ(local.shown.size(), 1u) << speed;
        EXPECT_EQ(local.shown[0].text.rfind(
                      "The speed \"" + std::string(speed) + "\" cannot be used.\n", 0),
                  0u)
            << local.shown[0].text;
        EXPECT_TRUE(dialog.isVisible()) << speed;
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.settings(), (CommSettings{"COM3", "9600", 0}));
}

TEST_F(CommSetupTest, AutoDetectUsesTheShownSpeed) {
    PseudoPort answering(true);
    RecordingPrompter local;
    SerialLink link(ComPortMap({{4, answering.path()}}), local);
    CCmSetup dialog(CommSettings{"COM4", "9600", 0}, {"COM4"}, link, local);
    dialog.show();
    typeInto(dialog.speedList(), "fast");
    QTest::mouseClick(dialog.autoDetectButton(), Qt::LeftButton);
    EXPECT_EQ(local.shown.size(), 1u);
    EXPECT_EQ(answering.received(), "");  // refused before any port is tried

    typeInto(dialog.speedList(), "38400");
    QTest::mouseClick(dialog.autoDetectButton(), Qt::LeftButton);
    EXPECT_EQ(answering.waitFor(2), "a0");
    // The search left the port at the speed it used.
    ASSERT_TRUE(link.open(4, "", false));
    EXPECT_EQ(link.lineSettings()->speed, 38400);
}

TEST_F(CommSetupTest, TheDocumentStoresWhatOkConfirms) {
    ASSERT_TRUE(start());
    EXPECT_EQ(doc().commSettings(), (CommSettings{"", "", 0}));  // nothing stored yet

    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prompter.asked, (std::vector<std::string>{"comm:::0"}));
    EXPECT_EQ(stored(), (CommSettings{"", "", 0}));  // Cancel stores nothing

    prompter.commSettings.push_back(CommSettings{"COM3", "9600", 0});
    frame().dispatch(cmd::CommSetup);
    EXPECT_EQ(stored(), (CommSettings{"COM3", "9600", 0}));

    // The next run reads them back.
    app.reset();
    app = std::make_unique<CVelkor1trApp>(prompter);
    ASSERT_TRUE(start());
    EXPECT_EQ(doc().commSettings(), (CommSettings{"COM3", "9600", 0}));
    QSettings s = SettingsStore::open();
    EXPECT_EQ(s.value("Comunication setings/Device").toInt(), 0);
    EXPECT_EQ(s.value("Comunication setings/ComPort").toString(), "COM3");
}

}  // namespace velkor
