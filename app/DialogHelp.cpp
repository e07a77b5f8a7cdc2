// Help pages for the dialogs, reached with F1.
#include "app/DialogHelp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/HelpWindow.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {

void DialogHelp::install() {
    qApp->installEventFilter(this);
}

void DialogHelp::showFor(QWidget& dialog, const QString& page) {
    // A child of the dialog: a modal dialog blocks every window but its own.
    auto* help = dialog.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new HelpWindow(&dialog);
    }
    help->showPage(page);
}

bool DialogHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
        return false;
    }
    QWidget* window = static_cast<QWidget*>(watched)->window();
    const QString page = window->property(DialogFrame::kHelpPageProperty).toString();
    if (page.isEmpty()) {
        return false;
    }
    showFor(*window, page);
    return true;
}

}  // namespace velkor
