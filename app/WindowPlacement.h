// Where the main window stands: its area when neither maximized nor minimized, and
// whether it is maximized.
#pragma once

#include <QList>
#include <QRect>

namespace velkor {

class WindowPlacement {
  public:
    // So much of the window must lie on one screen for the user to reach and move it.
    static constexpr int kMinVisibleWidth = 100;
    static constexpr int kMinVisibleHeight = 50;

    WindowPlacement() = default;
    WindowPlacement(const QRect& normal, bool maximized) : normal_(normal), maximized_(maximized) {}

    const QRect& normal() const { return normal_; }
    bool maximized() const { return maximized_; }

    // True when the area has a size and enough of it lies on one of these screen areas.
    bool fitsOn(const QList<QRect>& screens) const;

  private:
    QRect normal_;
    bool maximized_ = false;
};

}  // namespace velkor
