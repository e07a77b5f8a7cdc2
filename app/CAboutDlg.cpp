// About box.
#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "app/ToolbarIcons.h"
#include "core/DialogFrame.h"

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

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Velkor2tr");
    auto* icon = new QLabel(this);
    icon->setPixmap(ToolbarIcons::appIcon().pixmap(32, 32));
    auto* version = new QLabel(versionLine(), this);
    version->setObjectName("version");
    auto* build = new QLabel(buildLine(), this);
    build->setObjectName("build");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(version, 0, 1);
    grid->addWidget(build, 1, 1);
    grid->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    setWhatsThis("Shows the program's version and the date it was built.");
    DialogFrame::prepare(*this, "about.html");
}

}  // namespace velkor
