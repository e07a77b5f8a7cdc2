// Override cursors lifted for the time of a box.
#include "app/CursorLift.h"

#include <QApplication>

namespace velkor {

CursorLift::CursorLift() {
    while (const QCursor* top = QApplication::overrideCursor()) {
        lifted_.push_back(*top);
        QApplication::restoreOverrideCursor();
    }
}

CursorLift::~CursorLift() {
    for (auto it = lifted_.rbegin(); it != lifted_.rend(); ++it) {
        QApplication::setOverrideCursor(*it);
    }
}

}  // namespace velkor
