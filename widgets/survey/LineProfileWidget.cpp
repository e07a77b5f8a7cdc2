// The line profiles on screen.
#include "widgets/survey/LineProfileWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include "widgets/shared/QPainterSurface.h"

namespace velkor {

LineProfileWidget::LineProfileWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(480, 320);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWhatsThis(
        "The profile of the chosen survey line: the chosen value against position. Filled "
        "marks are readings, hollow ones are flagged (their word beside them), a diamond marks "
        "a spike candidate. Click a reading to flag or unflag it; drag a box to flag every "
        "reading of the shown lines above or below it.");
}

int LineProfileWidget::readingAt(const QPoint& at) const {
    return painter_.readingAt(area(), LineProfilePainter::kScreenEm, at.x(), at.y());
}

void LineProfileWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    {
        QPainterSurface surface(p);
        painter_.draw(surface, area());
    }
    if (pressed_ && boxEnd_) {
        p.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        p.setBrush(QColor(0, 90, 200, 30));
        p.drawRect(QRect(*pressed_, *boxEnd_).normalized());
    }
}

void LineProfileWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = event->position().toPoint();
        boxEnd_.reset();
    }
}

void LineProfileWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (pressed_ && (event->buttons() & Qt::LeftButton)) {
        if (boxEnd_ || (at - *pressed_).manhattanLength() >= kDragStart) {
            boxEnd_ = at;
            update();
        }
        return;
    }
    const int r = readingAt(at);
    if (r != hovered_) {
        hovered_ = r;
        emit hovered(r);
    }
}

void LineProfileWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    const QPoint from = *pressed_;
    const QPoint at = event->position().toPoint();
    const bool dragged = boxEnd_ || (at - from).manhattanLength() >= kDragStart;
    const std::optional<QPoint> to = dragged ? std::optional<QPoint>(at) : std::nullopt;
    pressed_.reset();
    boxEnd_.reset();
    if (to) {
        update();
        emit boxDrawn({from.x(), from.y(), to->x(), to->y()});
        return;
    }
    const int r = readingAt(from);
    if (r >= 0) {
        emit clicked(r);
    }
}

void LineProfileWidget::leaveEvent(QEvent* /*event*/) {
    hovered_ = -1;
    emit hovered(-1);
}

}  // namespace velkor
