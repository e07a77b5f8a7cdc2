// Keyboard lock panes, read through XKB.
#include "app/LockIndicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "app/XkbLocks.h"

namespace velkor {
namespace {

constexpr const char* kPaneTexts[3] = {"CAP", "NUM", "SCRL"};

}  // namespace

LockIndicators::LockIndicators(QStatusBar& bar) : QObject(&bar) {
    available_ = readKeyboardLocks().has_value();
    if (!available_) {
        return;
    }
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        panes_[i] = new QLabel(kPaneTexts[i], &bar);
        panes_[i]->setMinimumWidth(panes_[i]->fontMetrics().horizontalAdvance("SCRL") + 8);
        panes_[i]->setAlignment(Qt::AlignCenter);
        bar.addPermanentWidget(panes_[i]);
    }
    qApp->installEventFilter(this);
    refresh();
}

void LockIndicators::refresh() {
    const auto locks = readKeyboardLocks();
    if (!locks) {
        return;
    }
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        // The pane keeps its place; its text shows while the lock is on.
        panes_[i]->setText((*locks)[i] ? kPaneTexts[i] : "");
    }
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyRelease || t == QEvent::ApplicationActivate) {
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velkor
