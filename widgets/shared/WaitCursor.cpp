// Wait cursor guard.
#include "widgets/shared/WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace velkor {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace velkor
