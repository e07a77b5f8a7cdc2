// Help page and title width of the dialogs.
#include "widgets/shared/DialogFrame.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>
#include <algorithm>

namespace velkor {
namespace {

// The window icon and the minimize, maximize and close buttons, with their gaps.
constexpr int kFrameButtons = 5;
constexpr int kFrameMargins = 24;

}  // namespace

int DialogFrame::titleWidth(const QString& title) {
    // Window managers draw titles bold and often larger than the dialog's own text;
    // the wider of the platform's title font and the application font stands for it.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    QFont appFont = QApplication::font();
    titleFont.setBold(true);
    appFont.setBold(true);
    const int text = std::max(QFontMetrics(titleFont).horizontalAdvance(title),
                              QFontMetrics(appFont).horizontalAdvance(title));
    const int button = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight),
                                QFontMetrics(titleFont).height() + 8);
    return text + kFrameButtons * button + kFrameMargins;
}

void DialogFrame::fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    // A row of its own below the box's contents; the layout owns the spacer.
    grid->addItem(
        new QSpacerItem(titleWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
        grid->rowCount(), 0, 1, grid->columnCount());
}

void DialogFrame::prepare(QDialog& dialog, const QString& helpPage) {
    dialog.setProperty(kHelpPageProperty, helpPage);
    int layoutWidth = 0;
    if (dialog.layout() != nullptr) {
        layoutWidth = dialog.layout()->totalMinimumSize().width();
    }
    dialog.setMinimumWidth(std::max(titleWidth(dialog.windowTitle()), layoutWidth));
}

}  // namespace velkor
