// Hosts the survey map's painter on screen: draws it, tells the reading under the
// pointer and the one clicked.
#pragma once

#include <QWidget>

#include "pictures/SurveyMapPainter.h"
#include "pictures/SurveyPicture.h"

namespace velkor {

class SurveyMapWidget : public QWidget {
    Q_OBJECT

  public:
    explicit SurveyMapWidget(QWidget* parent = nullptr);

    // The painter stays with its owner and must outlive this widget's use of it.
    void setPainter(const SurveyMapPainter* painter);
    void setValue(SurveyMapPainter::Value value);
    // The grid's layers, drawn when a grid layer is chosen; null: no grid yet. The painter
    // stays with its owner.
    void setGrid(const GridLayerPainter* grid);
    void setLayers(SurveyPicture::Layers layers);
    SurveyPicture::Layers layers() const { return layers_; }
    // A grid layer is chosen and a grid is drawn.
    bool showsGrid() const { return SurveyPicture::showsGrid(grid_, layers_); }
    SurveyMapPainter::Value value() const { return value_; }
    // The survey reading at a point of this widget, or -1.
    int readingAt(const QPoint& at) const;

  signals:
    // The survey reading under the pointer, or -1.
    void hovered(int reading);
    void clicked(int reading);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    const SurveyMapPainter* painter_ = nullptr;
    const GridLayerPainter* grid_ = nullptr;
    SurveyPicture::Layers layers_;
    SurveyMapPainter::Value value_ = SurveyMapPainter::Value::Field;
    int hovered_ = -1;
};

}  // namespace velkor
