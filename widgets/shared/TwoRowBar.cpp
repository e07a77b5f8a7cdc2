// Two rows of controls in one bar.
#include "widgets/shared/TwoRowBar.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace velkor {

TwoRowBar TwoRowBar::under(QWidget* parent) {
    auto* bar = new QWidget(parent);
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    auto* bottom = new QHBoxLayout;
    rows->addLayout(top);
    rows->addLayout(bottom);
    return {bar, top, bottom};
}

}  // namespace velkor
