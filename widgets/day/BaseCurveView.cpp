// Base-station curve widget.
#include "widgets/day/BaseCurveView.h"

#include <QPainter>
#include <utility>

#include "pictures/BaseCurvePainter.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {

BaseCurveView::BaseCurveView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(560, 360);
    setWhatsThis(
        "The base-station curve of the chosen date: the variation values against time of day. "
        "The marks along the time axis are the survey's readings of that date; tall crossed ones "
        "lie outside the samples and cannot be corrected. Hatched stretches went over an hour "
        "without a sample.");
}

void BaseCurveView::setDay(BaseDay day) {
    day_ = std::move(day);
    update();
}

void BaseCurveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QPainterSurface surface(painter);
    BaseCurvePainter::draw(surface, day_, width(), height());
}

}  // namespace velkor
