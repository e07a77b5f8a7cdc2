// Map view widget.
#include "widgets/day/CMapView.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/CommandTable.h"
#include "data/DataSet.h"
#include "widgets/day/MapScaleDialog.h"
#include "widgets/day/ViewedDocument.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {
namespace {

// A press that moves less than this is a click, not a drag.
constexpr int kClickSlack = 3;

bool sameBounds(const PlanMap::Bounds& a, const PlanMap::Bounds& b) {
    return a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 && a.y1 == b.y1;
}

}  // namespace

CMapView::CMapView(ViewedDocument& doc, PrintController& printing, QWidget* parent)
    : QWidget(parent), doc_(doc), printing_(printing) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWhatsThis(
        "Map: every reading at its position and line, to scale, coloured by its field. The "
        "wheel zooms, dragging moves, Home fits; a click selects the reading (Ctrl+click adds "
        "or removes one), here and in the data list, and Delete removes the selected readings. "
        "Right-click to colour by gradient, to post the values or to set the scale.");
}

PlanMap::By CMapView::by() const {
    if (shows_ == Shows::Gradient) {
        return PlanMap::By::Gradient;
    }
    return doc_.showCorrected() ? PlanMap::By::Corrected : PlanMap::By::Field;
}

PlanMapPainter::Style CMapView::style() const {
    return shows_ == Shows::Values ? PlanMapPainter::Style::Values : PlanMapPainter::Style::Colours;
}

PlanMapPainter::Frame CMapView::frame() const {
    return PlanMapPainter::frame(width(), height(), PlanMapPainter::kScreenEm);
}

void CMapView::rebuild() {
    map_ = PlanMap::build(doc_.data(), by());
    if (doc_.data().lineCount() != lineCount_) {
        lineCount_ = doc_.data().lineCount();
        marked_.clear();
    }
    // A new extent is shown whole; the same one keeps the user's zoom.
    const PlanMap::Bounds b = map_.bounds();
    if (!sameBounds(b, fitted_)) {
        fitted_ = b;
        window_ = b;
    }
    update();
}

void CMapView::fit() {
    window_ = fitted_;
    update();
}

PlanMap::Bounds CMapView::shownWindow() const {
    return PlanMapPainter::shown(frame(), window_, doc_.mapScale());
}

void CMapView::setScale(const PlanMapGeometry::Scale& scale) {
    doc_.setMapScale(scale);
    update();
}

void CMapView::setMarked(std::vector<int> lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    marked_ = std::move(lines);
    update();
}

void CMapView::setShows(Shows shows) {
    shows_ = shows;
    rebuild();
}

bool CMapView::onCommand(int id) {
    if (id == cmd::Delete) {
        deleteMarked();
        return true;
    }
    return printing_.onPrintCommand(id, *this);
}

void CMapView::deleteMarked() {
    // The same deletion as the list's, undone the same way.
    std::vector<int> rows;
    rows.reserve(marked_.size());
    for (int line : marked_) {
        rows.push_back(line - 1);
    }
    doc_.deleteRows(rows);
    marked_.clear();
    rebuild();
    emit readingsDeleted();
}

int CMapView::preparePrinting() {
    return 1;
}

void CMapView::printPage(QPainter& painter, int width, int height, int) {
    const DataSet& data = doc_.data();
    std::string header = doc_.title();
    if (data.readingCount() > 0) {
        header += "   " + std::string(data.field(1, Column::Date));
    }
    QPainterSurface surface(painter);
    PlanMapPainter::draw(surface, map_, {fitted_, doc_.mapScale(), style(), {}}, width, height,
                         header, std::max(PlanMapPainter::kScreenEm, height / 70));
}

QPoint CMapView::cellCentre(int i) const {
    const PlanMapGeometry::Cell& c = map_.cells()[static_cast<std::size_t>(i)];
    const PlanMapPainter::Frame f = frame();
    const PlanMap::Bounds w = shownWindow();
    return {PlanMapPainter::deviceX(f, w, (c.x0 + c.x1) / 2),
            PlanMapPainter::deviceY(f, w, (c.y0 + c.y1) / 2)};
}

int CMapView::cellUnder(const QPoint& p) const {
    const PlanMapPainter::Frame f = frame();
    if (p.x() < f.left || p.x() >= f.right || p.y() <= f.top || p.y() > f.bottom) {
        return -1;
    }
    const PlanMapPainter::Point s = PlanMapPainter::planPoint(f, shownWindow(), p.x(), p.y());
    return map_.cellAt(s.x, s.y);
}

void CMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPainterSurface surface(painter);
    PlanMapPainter::draw(surface, map_, {window_, doc_.mapScale(), style(), marked_}, width(),
                         height(), doc_.title());
}

void CMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        dragged_ = false;
        pressedAt_ = event->position().toPoint();
        pressedWindow_ = window_;
        pressedShown_ = shownWindow();
    }
}

void CMapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (pressed_ && (dragged_ || (p - pressedAt_).manhattanLength() > kClickSlack)) {
        dragged_ = true;
        const PlanMapPainter::Frame f = frame();
        const PlanMapPainter::Point from =
            PlanMapPainter::planPoint(f, pressedShown_, pressedAt_.x(), pressedAt_.y());
        const PlanMapPainter::Point to = PlanMapPainter::planPoint(f, pressedShown_, p.x(), p.y());
        const double dx = from.x - to.x;
        const double dy = from.y - to.y;
        window_ = {pressedWindow_.x0 + dx, pressedWindow_.x1 + dx, pressedWindow_.y0 + dy,
                   pressedWindow_.y1 + dy};
        update();
        return;
    }
    const int i = cellUnder(p);
    emit hovered(i < 0 ? QString()
                       : QString::fromStdString(PlanMap::describe(
                             doc_.data(), map_.cells()[static_cast<std::size_t>(i)].reading)));
}

void CMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    if (!dragged_) {
        const int i = cellUnder(event->position().toPoint());
        if (i >= 0) {
            const int k = map_.cells()[static_cast<std::size_t>(i)].reading;
            std::vector<int> lines{k};
            if (event->modifiers() & Qt::ControlModifier) {
                // Ctrl+click adds the reading, or takes it out again, as in the list.
                lines = marked_;
                const auto at = std::find(lines.begin(), lines.end(), k);
                if (at != lines.end()) {
                    lines.erase(at);
                } else {
                    lines.push_back(k);
                }
            }
            setMarked(std::move(lines));
            emit readingClicked(k);
        }
    }
}

void CMapView::leaveEvent(QEvent*) {
    emit hovered(QString());
}

void CMapView::wheelEvent(QWheelEvent* event) {
    // One notch zooms by a fifth, a touchpad's finer steps by as much in sum.
    const double factor = std::pow(1.2, event->angleDelta().y() / 120.0);
    const QPoint p = event->position().toPoint();
    window_ = PlanMapPainter::zoomed(
        window_, factor, PlanMapPainter::planPoint(frame(), shownWindow(), p.x(), p.y()), fitted_);
    update();
    event->accept();
}

void CMapView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home) {
        fit();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMapView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    auto* group = new QActionGroup(&menu);
    const auto add = [&](const QString& text, Shows s) {
        QAction* a = menu.addAction(text);
        a->setCheckable(true);
        a->setChecked(shows_ == s);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, s] { setShows(s); });
    };
    add(doc_.showCorrected() ? "&Corrected values" : "&Field", Shows::Field);
    add("&Gradient", Shows::Gradient);
    add("&Posted values", Shows::Values);
    menu.addSeparator();
    connect(menu.addAction("&Scale..."), &QAction::triggered, this, &CMapView::chooseScale);
    menu.exec(event->globalPos());
}

void CMapView::chooseScale() {
    MapScaleDialog dialog(doc_.mapScale(), doc_.prompter(), this);
    if (dialog.exec() == QDialog::Accepted) {
        setScale(dialog.scale());
    }
}

}  // namespace velkor
