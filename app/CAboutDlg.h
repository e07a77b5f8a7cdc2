// The About box.
#pragma once

#include <QDialog>
#include <QString>

namespace velkor {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString versionLine();
    // "build MMM DD YYYY HH:MM:SS" from the build's date and time.
    static QString buildLine();
};

}  // namespace velkor
