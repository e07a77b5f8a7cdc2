// The About box.
#pragma once

#include <QDialog>
#include <QString>

namespace velkor {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    // usbLink names what carries the USB link, for the diagnostics line; none when empty.
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& usbLink = QString());

    static QString versionLine();
    // "build MMM DD YYYY HH:MM:SS" from the build's date and time.
    static QString buildLine();
    // "USB link: " and what carries it.
    static QString usbLinkLine(const QString& usbLink);
};

}  // namespace velkor
