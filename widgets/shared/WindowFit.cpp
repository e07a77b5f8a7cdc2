// Window placement inside the screen.
#include "widgets/shared/WindowFit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velkor {

QRect WindowFit::placed(const QSize& wanted, const QRect& available, const QSize& minimum) {
    const QRect room = available.marginsRemoved(kFrame);
    QRect area(QPoint(0, 0), wanted.boundedTo(room.size()).expandedTo(minimum));
    area.moveCenter(room.center());
    area.moveTopLeft({std::max(area.left(), room.left()), std::max(area.top(), room.top())});
    return area;
}

void WindowFit::fit(QWidget& window, const QSize& wanted) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        window.resize(wanted);
        return;
    }
    window.setGeometry(placed(wanted, screen->availableGeometry(), window.minimumSizeHint()));
}

}  // namespace velkor
