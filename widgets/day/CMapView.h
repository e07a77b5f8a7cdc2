// The map view: the day in plan, each reading a coloured cell by line and position.
#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

#include "core/CommandTarget.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapPainter.h"
#include "widgets/shared/Printable.h"

namespace velkor {

class ViewedDocument;
class PrintController;

class CMapView : public QWidget, public CommandTarget, public Printable {
    Q_OBJECT

  public:
    // What the context menu chooses between.
    enum class Shows { Field, Gradient, Values };

    CMapView(ViewedDocument& doc, PrintController& printing, QWidget* parent = nullptr);

    // Works out the cells and their colours again from the data set, then repaints.
    void rebuild();
    bool onCommand(int id) override;
    int preparePrinting() override;
    void printPage(QPainter& painter, int width, int height, int page) override;

    const PlanMap& map() const { return map_; }
    // The plan rectangle on the plot area now: the chosen part, widened to scale.
    PlanMap::Bounds shownWindow() const;
    Shows shows() const { return shows_; }
    void setShows(Shows shows);
    // Remembers the scale for the file and draws to it.
    void setScale(const PlanMapGeometry::Scale& scale);
    // The whole day in the window.
    void fit();
    // The device point of the centre of cell i, for the window's size now.
    QPoint cellCentre(int i) const;
    // The data lines of the marked readings, ascending: the selection, shared with the list.
    const std::vector<int>& marked() const { return marked_; }
    void setMarked(std::vector<int> lines);

  signals:
    // The status bar's text for the reading under the pointer (empty when none).
    void hovered(const QString& text);
    // A click on the cell of data line k; marked() tells what is marked now.
    void readingClicked(int k);
    // Delete removed the marked readings.
    void readingsDeleted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    PlanMap::By by() const;
    PlanMapPainter::Style style() const;
    PlanMapPainter::Frame frame() const;
    int cellUnder(const QPoint& p) const;
    void chooseScale();
    void deleteMarked();

    ViewedDocument& doc_;
    PrintController& printing_;
    PlanMap map_;
    PlanMap::Bounds window_{0.0, 1.0, 0.0, 1.0};
    PlanMap::Bounds fitted_{0.0, 1.0, 0.0, 1.0};
    Shows shows_ = Shows::Field;
    QPoint pressedAt_;
    PlanMap::Bounds pressedWindow_{0.0, 1.0, 0.0, 1.0};
    PlanMap::Bounds pressedShown_{0.0, 1.0, 0.0, 1.0};
    bool pressed_ = false;
    bool dragged_ = false;
    std::vector<int> marked_;
    // The data set's line count at the last rebuild: marks name lines, so a change of it
    // drops them.
    int lineCount_ = 0;
};

}  // namespace velkor
