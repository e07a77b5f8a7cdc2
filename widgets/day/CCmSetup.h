// "Comunication Setup": USB or RS-232, and for RS-232 the port and the speed.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "serial/CommSettings.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velkor {

class Prompter;
class SerialLink;

class CCmSetup : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kNoPort = "Pleas set COM port";

    // ports: the COM port list, built by the caller when the dialog opens.
    CCmSetup(const CommSettings& settings, const std::vector<std::string>& ports, SerialLink& link,
             Prompter& prompter, QWidget* parent = nullptr);

    const CommSettings& settings() const { return settings_; }
    QRadioButton* usbButton() const { return usb_; }
    QRadioButton* rs232Button() const { return rs232_; }
    QComboBox* portList() const { return ports_; }
    QComboBox* speedList() const { return speeds_; }
    QPushButton* autoDetectButton() const { return autoDetect_; }

    void accept() override;
    void autoDetect();

  private:
    void chooseDevice(int device);
    // The speed the box shows ("" when it is empty), or nothing after telling the user
    // that the port cannot use it.
    std::optional<std::string> shownSpeed();

    CommSettings settings_;
    SerialLink& link_;
    Prompter& prompter_;
    QRadioButton* usb_;
    QRadioButton* rs232_;
    QLabel* portLabel_;
    QLabel* speedLabel_;
    QComboBox* ports_;
    QComboBox* speeds_;
    QPushButton* autoDetect_;
};

}  // namespace velkor
