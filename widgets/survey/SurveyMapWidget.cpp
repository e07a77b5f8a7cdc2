// The survey map on screen.
#include "widgets/survey/SurveyMapWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/shared/QPainterSurface.h"

namespace velkor {

SurveyMapWidget::SurveyMapWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWhatsThis(
        "The survey map: every placed reading to scale, north up, coloured by the value "
        "chosen above, or the readings gridded: colours, shaded relief and contours as "
        "ticked above, the readings' positions on top. Point at a reading to read its "
        "values; click it to open its day there.");
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

void SurveyMapWidget::setGrid(const GridLayerPainter* grid) {
    grid_ = grid;
    update();
}

void SurveyMapWidget::setLayers(SurveyPicture::Layers layers) {
    layers_ = layers;
    update();
}

int SurveyMapWidget::readingAt(const QPoint& at) const {
    if (painter_ == nullptr) {
        return -1;
    }
    if (!showsGrid()) {
        return painter_->readingAt(width(), height(), SurveyMapPainter::kScreenEm, at.x(), at.y());
    }
    return SurveyPicture::readingAt(
        *painter_,
        SurveyPicture::transform(width(), height(), SurveyMapPainter::kScreenEm, *painter_, grid_,
                                 layers_),
        at.x(), at.y());
}

void SurveyMapWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (painter_ == nullptr) {
        return;
    }
    QPainterSurface surface(p);
    SurveyPicture::draw(surface, width(), height(), *painter_, grid_, layers_, value_);
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
