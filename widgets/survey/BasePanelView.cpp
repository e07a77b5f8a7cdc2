// Base panel widget.
#include "widgets/survey/BasePanelView.h"

#include <QPainter>
#include <utility>

#include "pictures/BasePanelPainter.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {

BasePanelView::BasePanelView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 240);
    setWhatsThis(
        "Every base source's values over the chosen date, each curve numbered as the key "
        "below names its source. The marks along the time axis are the survey's readings of "
        "that date; tall crossed ones get no base value from any source.");
}

void BasePanelView::setPanel(BasePanel panel) {
    panel_ = std::move(panel);
    update();
}

void BasePanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QPainterSurface surface(painter);
    BasePanelPainter::draw(surface, panel_, width(), height());
}

}  // namespace velkor
