// Hosts the line-profile painter on screen: draws it, tells the reading under the pointer
// and the one clicked, and lets a range box be dragged over the profile.
#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

#include "pictures/LineProfilePainter.h"

namespace velkor {

class LineProfileWidget : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kDragStart = 4;  // pixels the pointer moves before a box begins

    explicit LineProfileWidget(QWidget* parent = nullptr);

    // What is drawn; change it, then update().
    LineProfilePainter& painter() { return painter_; }
    const LineProfilePainter& painter() const { return painter_; }
    LineProfilePainter::Area area() const { return {0, 0, width(), height()}; }
    // The survey reading at a point of this widget, or -1.
    int readingAt(const QPoint& at) const;

  signals:
    // The survey reading under the pointer, or -1.
    void hovered(int reading);
    void clicked(int reading);
    // A range box was dragged, in this widget's coordinates.
    void boxDrawn(LineProfilePainter::Box box);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    LineProfilePainter painter_;
    std::optional<QPoint> pressed_;
    std::optional<QPoint> boxEnd_;  // set once the drag has gone far enough
    int hovered_ = -1;
};

}  // namespace velkor
