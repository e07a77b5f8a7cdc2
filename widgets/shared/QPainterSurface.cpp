// QPainter drawing surface.
#include "widgets/shared/QPainterSurface.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace velkor {
namespace {

// A 1-pixel line's pixels and a text's cell stay within this much of their box.
constexpr int kMargin = 2;

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter) : painter_(painter) {
    painter_.save();
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics = painter_.fontMetrics();
    ascent_ = metrics.ascent();
    cellHeight_ = metrics.height();
    widestCharacter_ = metrics.maxWidth();
}

QPainterSurface::~QPainterSurface() {
    flushLines();
    painter_.restore();
}

void QPainterSurface::flushLines() {
    if (!lines_.isEmpty()) {
        painter_.drawLines(lines_);
        lines_.clear();
    }
}

void QPainterSurface::setVisibleArea(const QRect& area) {
    culling_ = true;
    area_ = area;
}

std::optional<DrawingSurface::Seen> QPainterSurface::seen() const {
    if (!culling_) {
        return std::nullopt;
    }
    return Seen{area_.left() - kMargin, area_.top() - kMargin, area_.right() + kMargin,
                area_.bottom() + kMargin, widestCharacter_};
}

QFont QPainterSurface::font(int emHeight) {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(emHeight > 0 ? emHeight : 1);
    return font;
}

void QPainterSurface::setFont(int emHeight) {
    flushLines();
    painter_.setFont(font(emHeight));
    // Measured once per font, not for every text.
    const QFontMetrics metrics = painter_.fontMetrics();
    ascent_ = metrics.ascent();
    cellHeight_ = metrics.height();
    widestCharacter_ = metrics.maxWidth();
}

void QPainterSurface::setLineWidth(int units) {
    flushLines();
    painter_.setPen(QPen(Qt::black, std::max(1, units)));
}

bool QPainterSurface::outside(int x1, int y1, int x2, int y2) const {
    if (!culling_) {
        return false;
    }
    return std::max(x1, x2) < area_.left() - kMargin ||
           std::min(x1, x2) > area_.right() + kMargin || std::max(y1, y2) < area_.top() - kMargin ||
           std::min(y1, y2) > area_.bottom() + kMargin;
}

void QPainterSurface::segment(int x1, int y1, int x2, int y2) {
    // Collected and drawn together before the next text: lines are all black, so only
    // their order against the opaque text cells matters.
    if (!outside(x1, y1, x2, y2)) {
        lines_.append(QLine(x1, y1, x2, y2));
    }
}

void QPainterSurface::polyline(const std::vector<Point>& points) {
    // Separate lines, not a polyline: Qt joins a polyline's segments with other end
    // pixels than those of separate lines.
    for (std::size_t k = 1; k < points.size(); ++k) {
        segment(points[k - 1].x, points[k - 1].y, points[k].x, points[k].y);
    }
}

void QPainterSurface::text(int x, int y, const std::string& text) {
    const int width = widestCharacter_ * static_cast<int>(text.size());
    if (outside(x, y, x + width, y + cellHeight_)) {
        return;
    }
    flushLines();
    // The cell's top-left corner is given; Qt places text by its baseline.
    painter_.drawText(x, y + ascent_, QString::fromLatin1(text.c_str()));
}

void QPainterSurface::fillRect(int x, int y, int width, int height, std::uint32_t rgb) {
    painter_.fillRect(x, y, width, height, QColor(QRgb(rgb)));
}

void QPainterSurface::image(double x, double y, double width, double height, const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * image.height) {
        return;
    }
    flushLines();
    // Wraps the pixels without a copy; they outlive the call.
    const QImage wrapped(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                         image.height, image.width * 4, QImage::Format_ARGB32_Premultiplied);
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform,
                           width > image.width || height > image.height);
    painter_.drawImage(QRectF(x, y, width, height), wrapped);
    painter_.restore();
}

void QPainterSurface::turnedText(int x, int y, double angle, const std::string& text,
                                 int /*emHeight*/) {
    const QString s = QString::fromLatin1(text.c_str());
    const int width = painter_.fontMetrics().horizontalAdvance(s);
    const int reach = std::max(width, cellHeight_);
    if (outside(x - reach, y - reach, x + reach, y + reach)) {
        return;
    }
    flushLines();
    painter_.save();
    painter_.translate(x, y);
    // Qt turns clockwise, its y axis running down.
    painter_.rotate(-angle);
    painter_.drawText(-width / 2, ascent_ - cellHeight_ / 2, s);
    painter_.restore();
}

}  // namespace velkor
