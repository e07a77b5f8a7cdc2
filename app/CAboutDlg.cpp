// About box.
#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "app/ToolbarIcons.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {
namespace {

constexpr const char* kVersion = "3.1r USB";

}  // namespace

QString CAboutDlg::versionLine() {
    return QString("Velkor1tr Version %1").arg(kVersion);
}

QString CAboutDlg::buildLine() {
    return QString("build %1 %2").arg(__DATE__, __TIME__);
}

QString CAboutDlg::usbLinkLine(const QString& usbLink) {
    return QString("USB link: %1").arg(usbLink);
}

CAboutDlg::CAboutDlg(QWidget* parent, const QString& usbLink) : QDialog(parent) {
    setWindowTitle("About Velkor2tr");
    auto* icon = new QLabel(this);
    icon->setPixmap(ToolbarIcons::appIcon().pixmap(32, 32));
    auto* version = new QLabel(versionLine(), this);
    version->setObjectName("version");
    auto* build = new QLabel(buildLine(), this);
    build->setObjectName("build");
    auto* link = new QLabel(usbLinkLine(usbLink), this);
    link->setObjectName("usbLink");
    link->setVisible(!usbLink.isEmpty());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(version, 0, 1);
    grid->addWidget(build, 1, 1);
    grid->addWidget(link, 2, 1);
    grid->addWidget(buttons, 0, 2, 3, 1, Qt::AlignTop);
    setWhatsThis(
        "Shows the program's version, the date it was built and what carries the USB link "
        "to the instrument.");
    DialogFrame::prepare(*this, "about.html");
}

}  // namespace velkor
