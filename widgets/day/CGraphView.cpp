// Graph view widget.
#include "widgets/day/CGraphView.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>

#include "core/CommandTable.h"
#include "corrections/CorrectedValue.h"
#include "widgets/day/ViewedDocument.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {

CGraphView::CGraphView(ViewedDocument& doc, PrintController& printing, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), printing_(printing), painter_(doc.data()) {
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);
    setWhatsThis(
        "Graph: the measured field of every reading against its number, with the survey lines "
        "separated and the gradients as crosses on the right-hand axis. Zoom In and Zoom Out "
        "change the spacing of the readings; scroll sideways along the profile.");
}

void CGraphView::initialUpdate() {
    scrollHeight_ = (9 * viewport()->height()) / 10;
    zoom_ = 1.0f;
    updateScrollRanges();
    viewport()->update();
}

void CGraphView::updateScrollRanges() {
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, kScrollWidth - viewport()->width()));
    h->setPageStep(kScrollWidth / 10);
    h->setSingleStep(kScrollWidth / 100);
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, scrollHeight_ - viewport()->height()));
    v->setPageStep(std::max(1, scrollHeight_ / 10));
    v->setSingleStep(std::max(1, scrollHeight_ / 100));
}

GraphWindow CGraphView::window() const {
    return {viewport()->width(), viewport()->height(), horizontalScrollBar()->value(),
            verticalScrollBar()->value()};
}

bool CGraphView::onCommand(int id) {
    switch (id) {
        case cmd::ZoomIn:
            zoom_ *= 2.0f;
            viewport()->update();
            return true;
        case cmd::ZoomOut:
            zoom_ *= 0.5f;
            viewport()->update();
            return true;
        default:
            return printing_.onPrintCommand(id, *this);
    }
}

int CGraphView::preparePrinting() {
    return 1;
}

void CGraphView::chooseProfile() {
    if (doc_.showCorrected()) {
        const DataSet& data = doc_.data();
        painter_.setProfile([&data](int i) { return CorrectedValue::of(data, i); },
                            "Corrected[nT]");
    } else {
        painter_.setProfile({}, {});
    }
}

GraphScale::Spacing CGraphView::drawScreen(DrawingSurface& surface) {
    chooseProfile();
    return painter_.drawScreen(surface, window(), zoom_);
}

void CGraphView::printPage(QPainter& painter, int width, int height, int) {
    chooseProfile();
    QPainterSurface surface(painter);
    painter_.drawPrinted(surface, window(), zoom_, width, height);
}

void CGraphView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    const GraphWindow w = window();
    painter.translate(-w.Sx, -w.Sy);
    GraphScale::Spacing spacing{};
    {
        QPainterSurface surface(painter);
        surface.setVisibleArea(QRect(w.Sx, w.Sy, w.W, w.H));
        spacing = drawScreen(surface);
    }
    if (spacing.zoomInAllowed != zoomInAllowed_ || spacing.zoomOutAllowed != zoomOutAllowed_) {
        zoomInAllowed_ = spacing.zoomInAllowed;
        zoomOutAllowed_ = spacing.zoomOutAllowed;
        emit zoomFlagsChanged();
    }
}

void CGraphView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void CGraphView::scrollContentsBy(int, int) {
    viewport()->update();
}

void CGraphView::wheelEvent(QWheelEvent* event) {
    // One notch (15 degrees, 120 eighths) is one line step; a touchpad's finer steps
    // add up to the same. Wheel down or a swipe to the left goes on along the profile.
    const QPoint turn = event->angleDelta();
    const int along = std::abs(turn.x()) > std::abs(turn.y()) ? turn.x() : turn.y();
    QScrollBar* h = horizontalScrollBar();
    const int distance = wheelRest_ - along * h->singleStep();  // pixels times 120
    wheelRest_ = distance % 120;
    h->setValue(h->value() + distance / 120);
    event->accept();
}

}  // namespace velkor
