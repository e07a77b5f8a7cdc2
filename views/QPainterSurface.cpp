// QPainter drawing surface.
#include "views/QPainterSurface.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace velkor {

QPainterSurface::QPainterSurface(QPainter& painter) : painter_(painter) {
    painter_.save();
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
}

QPainterSurface::~QPainterSurface() {
    painter_.restore();
}

void QPainterSurface::setFont(int emHeight) {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(emHeight > 0 ? emHeight : 1);
    painter_.setFont(font);
}

void QPainterSurface::segment(int x1, int y1, int x2, int y2) {
    painter_.drawLine(x1, y1, x2, y2);
}

void QPainterSurface::text(int x, int y, const std::string& text) {
    // The cell's top-left corner is given; Qt places text by its baseline.
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), QString::fromLatin1(text.c_str()));
}

void QPainterSurface::fillRect(int x, int y, int width, int height, std::uint32_t rgb) {
    painter_.fillRect(x, y, width, height, QColor(QRgb(rgb)));
}

}  // namespace velkor
