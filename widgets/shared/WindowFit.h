// Where a window opens: at the size it asks for where the screen has room for it, and
// wholly inside the screen's available area (without panels and docks), frame and all.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace velkor {

class WindowFit {
  public:
    // Room left around the window's own area for the window manager's frame and title.
    static constexpr QMargins kFrame{8, 32, 8, 8};

    // The window's area: wanted, cut to the room available leaves inside the frame but
    // never below minimum, centred in that room; a window larger than the room keeps its
    // title bar and left edge on the screen.
    static QRect placed(const QSize& wanted, const QRect& available, const QSize& minimum = {});
    // Sizes and places a top-level window, before it is shown, on its screen.
    static void fit(QWidget& window, const QSize& wanted);
};

}  // namespace velkor
