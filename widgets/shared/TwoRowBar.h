// A bar of two rows of controls with no margin of its own, for a window whose side leaves
// room for one short bar only.
#pragma once

class QHBoxLayout;
class QWidget;

namespace velkor {

struct TwoRowBar {
    QWidget* bar = nullptr;
    QHBoxLayout* top = nullptr;
    QHBoxLayout* bottom = nullptr;

    // A new bar, owned by parent as Qt widgets are.
    static TwoRowBar under(QWidget* parent);
};

}  // namespace velkor
