// The survey map on screen.
#include "app/SurveyMapWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "views/QPainterSurface.h"

namespace velkor {

SurveyMapWidget::SurveyMapWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWhatsThis(
        "The survey map: every placed reading to scale, north up, coloured by the value "
        "chosen above. Point at a reading to read its values; click it to open its day "
        "there.");
}

void SurveyMapWidget::setPainter(const SurveyMapPainter* painter) {
    painter_ = painter;
    hovered_ = -1;
    update();
}

void SurveyMapWidget::setValue(SurveyMapPainter::Value value) {
    value_ = value;
    update();
}

int SurveyMapWidget::readingAt(const QPoint& at) const {
    return painter_ == nullptr ? -1
                               : painter_->readingAt(width(), height(), SurveyMapPainter::kScreenEm,
                                                     at.x(), at.y());
}

void SurveyMapWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (painter_ == nullptr) {
        return;
    }
    QPainterSurface surface(p);
    painter_->draw(surface, width(), height(), value_);
}

void SurveyMapWidget::mouseMoveEvent(QMouseEvent* event) {
    const int r = readingAt(event->position().toPoint());
    if (r != hovered_) {
        hovered_ = r;
        emit hovered(r);
    }
}

void SurveyMapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int r = readingAt(event->position().toPoint());
        if (r >= 0) {
            emit clicked(r);
        }
    }
}

void SurveyMapWidget::leaveEvent(QEvent* /*event*/) {
    hovered_ = -1;
    emit hovered(-1);
}

}  // namespace velkor
