// Communication setup dialog.
#include "widgets/day/CCmSetup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/Prompter.h"
#include "serial/PortSearch.h"
#include "serial/SerialLink.h"
#include "widgets/shared/DialogFrame.h"
#include "widgets/shared/WaitCursor.h"

namespace velkor {
namespace {

// Used by Auto Detect when no speed is chosen.
constexpr const char* kDefaultSpeed = "19200";

QComboBox* editableList(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

std::string badSpeed(const std::string& speed) {
    std::string text =
        "The speed \"" + speed + "\" cannot be used.\nChoose a listed speed or type one of these: ";
    const std::vector<int> speeds = SerialLink::speeds();
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        text += (i > 0 ? ", " : "") + std::to_string(speeds[i]);
    }
    return text + ".";
}

}  // namespace

CCmSetup::CCmSetup(const CommSettings& settings, const std::vector<std::string>& ports,
                   SerialLink& link, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      link_(link),
      prompter_(prompter),
      usb_(new QRadioButton("USB", this)),
      rs232_(new QRadioButton("RS-232", this)),
      portLabel_(new QLabel("COM port", this)),
      speedLabel_(new QLabel("Comunication Speed", this)),
      ports_(editableList(this)),
      speeds_(editableList(this)),
      autoDetect_(new QPushButton("Auto Detect", this)) {
    setWindowTitle("Comunication Setup");
    // Each button is a group of its own; the dialog keeps exactly one on.
    usb_->setAutoExclusive(false);
    rs232_->setAutoExclusive(false);
    for (const std::string& p : ports) {
        ports_->addItem(QString::fromStdString(p));
    }
    speeds_->addItems({"19200", "9600", "4800", "2400", "1200", "300"});
    ports_->setCurrentIndex(ports_->findText(QString::fromStdString(settings_.comPort),
                                             Qt::MatchExactly | Qt::MatchCaseSensitive));
    speeds_->setCurrentIndex(speeds_->findText(QString::fromStdString(settings_.baudRate),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive));
    // A speed typed in earlier is shown again, since OK would keep it.
    if (speeds_->currentIndex() < 0 && SerialLink::setsSpeed(settings_.baudRate)) {
        speeds_->setEditText(QString::fromStdString(settings_.baudRate));
    }

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CCmSetup::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(usb_, &QRadioButton::clicked, this, [this] { chooseDevice(CommSettings::kUsb); });
    connect(rs232_, &QRadioButton::clicked, this, [this] { chooseDevice(CommSettings::kRs232); });
    connect(autoDetect_, &QPushButton::clicked, this, &CCmSetup::autoDetect);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Select comunication", this), 0, 0, 1, 2);
    grid->addWidget(usb_, 1, 0);
    grid->addWidget(rs232_, 1, 1);
    grid->addWidget(portLabel_, 2, 0);
    grid->addWidget(speedLabel_, 2, 1);
    grid->addWidget(ports_, 3, 0);
    grid->addWidget(speeds_, 3, 1);
    grid->addWidget(ok, 0, 2);
    grid->addWidget(cancel, 1, 2);
    grid->addWidget(autoDetect_, 3, 2);
    setWhatsThis(
        "Choose how the instrument is connected: USB, or RS-232 with a port and a speed. Auto "
        "Detect looks for an instrument on every listed port.");
    chooseDevice(settings_.device == CommSettings::kUsb ? CommSettings::kUsb
                                                        : CommSettings::kRs232);
    DialogFrame::prepare(*this, "commsetup.html");
}

void CCmSetup::chooseDevice(int device) {
    settings_.device = device;
    const bool rs232 = device == CommSettings::kRs232;
    usb_->setChecked(!rs232);
    rs232_->setChecked(rs232);
    for (QWidget* w : {static_cast<QWidget*>(portLabel_), static_cast<QWidget*>(speedLabel_),
                       static_cast<QWidget*>(ports_), static_cast<QWidget*>(speeds_),
                       static_cast<QWidget*>(autoDetect_)}) {
        w->setVisible(rs232);
    }
}

std::optional<std::string> CCmSetup::shownSpeed() {
    const std::string speed = speeds_->currentText().toStdString();
    if (!speed.empty() && !SerialLink::setsSpeed(speed)) {
        prompter_.message(badSpeed(speed));
        return std::nullopt;
    }
    return speed;
}

// What the boxes show is what is stored: the selection may be older than the typing.
void CCmSetup::accept() {
    if (settings_.device == CommSettings::kRs232) {
        const int port =
            ports_->findText(ports_->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (port < 0) {
            prompter_.message(kNoPort);
            return;
        }
        const std::optional<std::string> speed = shownSpeed();
        if (!speed) {
            return;
        }
        ports_->setCurrentIndex(port);
        settings_.comPort = ports_->itemText(port).toStdString();
        // Without a speed the previous speed stays.
        if (!speed->empty()) {
            settings_.baudRate = *speed;
        }
    }
    QDialog::accept();
}

void CCmSetup::autoDetect() {
    settings_.device = usb_->isChecked() ? CommSettings::kUsb : CommSettings::kRs232;
    const std::optional<std::string> shown = shownSpeed();
    if (!shown) {
        return;
    }
    const std::string speed = shown->empty() ? kDefaultSpeed : *shown;
    std::vector<std::string> names;
    for (int i = 0; i < ports_->count(); ++i) {
        names.push_back(ports_->itemText(i).toStdString());
    }
    int found = -1;
    {
        WaitCursor wait;
        found = PortSearch::run(link_, names, speed, prompter_);
    }
    if (found >= 0) {
        ports_->setCurrentIndex(found);
    }
}

}  // namespace velkor
