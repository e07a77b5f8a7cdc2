// Small pictograms for the toolbar, 16 x 15 pixels each.
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <functional>
#include <map>
#include <string>

namespace velkor {
namespace {

using Painter = std::function<void(QPainter&)>;

const QColor kInk(30, 30, 30);
const QColor kBlue(30, 90, 200);
const QColor kPaper(255, 255, 245);
const QColor kFolder(230, 180, 60);

void page(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(3, 1, 10, 13);
}

// Letters of pixels, 5 x 7 with strokes two wide where a bold letter has them: the
// toolbar draws them without loading a font of its own.
using PixelRows = std::array<const char*, 7>;

const std::map<char, PixelRows>& pixelLetters() {
    static const std::map<char, PixelRows> letters{
        {'F', {"#####", "##...", "##...", "####.", "##...", "##...", "##..."}},
        {'G', {".####", "##...", "##...", "##.##", "##..#", "##..#", ".####"}},
        {'A', {".###.", "##.##", "##.##", "##.##", "#####", "##.##", "##.##"}},
        {'C', {".####", "##...", "##...", "##...", "##...", "##...", ".####"}},
        {'?', {".###.", "##.##", "...##", "..##.", "..##.", ".....", "..##."}},
    };
    return letters;
}

void pixelLetter(QPainter& p, char letter, int left, int top, const QColor& color) {
    const PixelRows& rows = pixelLetters().at(letter);
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        for (int x = 0; rows[y][x] != '\0'; ++x) {
            if (rows[y][x] == '#') {
                p.fillRect(left + x, top + y, 1, 1, color);
            }
        }
    }
}

void letterOnPage(QPainter& p, char letter, const QColor& color) {
    page(p);
    pixelLetter(p, letter, 6, 4, color);
}

void wave(QPainter& p, int x0, int y0, int width, int amp) {
    QPainterPath path;
    path.moveTo(x0, y0);
    for (int x = 1; x <= width; ++x) {
        const int dy = (x / 2) % 2 == 0 ? -amp : amp;
        path.lineTo(x0 + x, y0 + (x % 2 == 0 ? 0 : dy));
    }
    p.setPen(QPen(kBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void folder(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kFolder);
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
}

void magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawEllipse(1, 1, 9, 9);
    p.setPen(QPen(kInk, 2));
    p.drawLine(9, 9, 14, 14);
    p.setPen(QPen(kBlue, 1));
    p.drawLine(3, 5, 8, 5);
    if (plus) {
        p.drawLine(5, 3, 5, 8);
    }
}

const std::map<std::string, Painter>& painters() {
    static const std::map<std::string, Painter> table{
        {"import",
         [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(1, 1, 8, 12);
             p.setPen(QPen(kBlue, 2));
             p.drawLine(12, 2, 12, 11);
             p.drawLine(9, 8, 12, 12);
             p.drawLine(15, 8, 12, 12);
         }},
        {"open", [](QPainter& p) { folder(p); }},
        {"variations",
         [](QPainter& p) {
             folder(p);
             wave(p, 2, 9, 11, 2);
         }},
        {"save",
         [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(kBlue);
             p.drawRect(1, 1, 13, 13);
             p.setBrush(kPaper);
             p.drawRect(4, 1, 7, 5);
             p.drawRect(3, 9, 9, 5);
         }},
        {"export-field", [](QPainter& p) { letterOnPage(p, 'F', kBlue); }},
        {"export-gradient", [](QPainter& p) { letterOnPage(p, 'G', kBlue); }},
        {"export-auto", [](QPainter& p) { letterOnPage(p, 'A', kBlue); }},
        {"export-corrected", [](QPainter& p) { letterOnPage(p, 'C', QColor(180, 40, 40)); }},
        {"list",
         [](QPainter& p) {
             page(p);
             for (int y = 3; y <= 12; y += 3) {
                 p.drawLine(5, y, 11, y);
             }
         }},
        {"graph",
         [](QPainter& p) {
             p.setPen(kInk);
             p.drawLine(1, 1, 1, 13);
             p.drawLine(1, 13, 15, 13);
             p.setPen(QPen(kBlue, 1));
             const QPoint pts[] = {{2, 10}, {5, 9}, {7, 3}, {9, 8}, {12, 10}, {15, 9}};
             p.drawPolyline(pts, 6);
         }},
        {"zoom-in", [](QPainter& p) { magnifier(p, true); }},
        {"zoom-out", [](QPainter& p) { magnifier(p, false); }},
        {"variations-list",
         [](QPainter& p) {
             page(p);
             wave(p, 4, 5, 8, 2);
             p.setPen(kInk);
             p.drawLine(5, 10, 11, 10);
         }},
        {"print",
         [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(kPaper);
             p.drawRect(4, 1, 8, 5);
             p.setBrush(QColor(170, 170, 170));
             p.drawRect(1, 6, 14, 6);
             p.setBrush(kPaper);
             p.drawRect(4, 10, 8, 4);
         }},
        {"about",
         [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(kBlue);
             p.drawEllipse(1, 0, 14, 14);
             p.setPen(QPen(Qt::white, 2));
             p.drawPoint(8, 4);
             p.drawLine(8, 7, 8, 11);
         }},
        {"context-help",
         [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(Qt::white);
             const QPoint arrow[] = {{1, 1}, {1, 11}, {4, 8}, {6, 13}, {8, 12}, {6, 7}, {10, 7}};
             p.drawPolygon(arrow, 7);
             pixelLetter(p, '?', 10, 1, kBlue);
         }},
    };
    return table;
}

}  // namespace

QIcon ToolbarIcons::icon(const char* name) {
    const auto it = painters().find(name);
    if (it == painters().end()) {
        return {};
    }
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    it->second(p);
    return QIcon(pixmap);
}

QIcon ToolbarIcons::appIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(240, 200, 80));
    p.drawEllipse(2, 2, 28, 28);
    p.save();
    p.scale(2.0, 2.0);
    wave(p, 3, 8, 10, 3);
    p.restore();
    return QIcon(pixmap);
}

}  // namespace velkor
