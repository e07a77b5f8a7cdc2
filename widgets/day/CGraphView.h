// The graph view: the field profile of the readings, scrolling sideways.
#pragma once

#include <QAbstractScrollArea>

#include "core/CommandTarget.h"
#include "pictures/GraphPainter.h"
#include "widgets/shared/Printable.h"

namespace velkor {

class ViewedDocument;
class PrintController;

class CGraphView : public QAbstractScrollArea, public CommandTarget, public Printable {
    Q_OBJECT

  public:
    static constexpr int kScrollWidth = 32000;

    CGraphView(ViewedDocument& doc, PrintController& printing, QWidget* parent = nullptr);

    // Once, when first shown and laid out: scroll geometry and zoom factor.
    void initialUpdate();
    bool onCommand(int id) override;
    int preparePrinting() override;
    void printPage(QPainter& painter, int width, int height, int page) override;

    float zoom() const { return zoom_; }
    bool zoomInAllowed() const { return zoomInAllowed_; }
    bool zoomOutAllowed() const { return zoomOutAllowed_; }
    // The picture of the window as it stands, on any surface; returns the spacing used.
    GraphScale::Spacing drawScreen(DrawingSurface& surface);
    // The window the picture is made for right now.
    GraphWindow window() const;
    int scrollHeight() const { return scrollHeight_; }

  signals:
    // A repaint changed the zoom flags: the enable state of the zoom commands changes.
    void zoomFlagsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Every wheel, and a sideways swipe, moves along the profile.
    void wheelEvent(QWheelEvent* event) override;

  private:
    void updateScrollRanges();
    // The measured field, or the corrected values while the document shows them.
    void chooseProfile();

    ViewedDocument& doc_;
    PrintController& printing_;
    GraphPainter painter_;
    float zoom_ = 1.0f;
    bool zoomInAllowed_ = true;
    bool zoomOutAllowed_ = true;
    int scrollHeight_ = 0;
    int wheelRest_ = 0;  // a part of a pixel left over by a touchpad, in 120ths
};

}  // namespace velkor
