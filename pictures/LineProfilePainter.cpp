// Line profile drawing, shared by screen and printer.
#include "pictures/LineProfilePainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "pictures/DrawingSurface.h"
#include "text/LineTitle.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr int kMaxLabels = 100;

int markSize(int em) {
    return std::max(2, em / 4);
}

std::string label(double v, double step) {
    return step < 1.0 ? formatText("%.1f", v) : formatText("%.0f", v);
}

// Every step from the bottom to the top of the axis; none when that is too many.
std::vector<double> steps(const GraphScale::Axis& a) {
    std::vector<double> values;
    const double n = std::round(static_cast<double>(a.span) / static_cast<double>(a.step));
    if (!(n >= 0.0 && n <= kMaxLabels)) {
        return values;
    }
    for (int k = 0; k <= static_cast<int>(n); ++k) {
        values.push_back(static_cast<double>(a.bottom) + k * static_cast<double>(a.step));
    }
    return values;
}

void square(DrawingSurface& s, int x, int y, int h) {
    s.polyline({{x - h, y - h}, {x + h, y - h}, {x + h, y + h}, {x - h, y + h}, {x - h, y - h}});
}

void diamond(DrawingSurface& s, int x, int y, int r) {
    s.polyline({{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}, {x, y - r}});
}

}  // namespace

LineProfilePainter::LineProfilePainter() : set_(std::make_shared<LineProfileSet>()) {}

LineProfilePainter::LineProfilePainter(std::shared_ptr<const LineProfileSet> set)
    : set_(set ? std::move(set) : std::make_shared<LineProfileSet>()) {}

void LineProfilePainter::setLines(std::vector<int> lines) {
    const int count = set_->lineCount();
    lines.erase(
        std::remove_if(lines.begin(), lines.end(), [count](int k) { return k < 0 || k >= count; }),
        lines.end());
    lines_ = std::move(lines);
}

void LineProfilePainter::setCandidates(std::vector<int> readings) {
    std::sort(readings.begin(), readings.end());
    candidates_ = std::move(readings);
}

bool LineProfilePainter::candidate(int reading) const {
    return std::binary_search(candidates_.begin(), candidates_.end(), reading);
}

bool LineProfilePainter::anyValue() const {
    return std::any_of(lines_.begin(), lines_.end(), [this](int k) {
        const std::vector<LineProfileSet::Point>& points = set_->line(k).points;
        return std::any_of(points.begin(), points.end(), [this](const LineProfileSet::Point& p) {
            return !std::isnan(p.value(value_));
        });
    });
}

LineProfilePainter::Frame LineProfilePainter::frame(const Area& a, int em) {
    // Room for the value labels on the left, the line names on the right, the caption
    // above and the position labels and the legend below.
    const int left = a.left + 7 * em;
    const int top = a.top + 2 * em;
    return {left, top, std::max(left + em, a.left + a.width - 7 * em),
            std::max(top + em, a.top + a.height - 4 * em)};
}

GraphScale::Axis LineProfilePainter::axis(double lo, double hi) {
    return GraphScale::roundAxis(lo, hi);
}

LineProfilePainter::Scales LineProfilePainter::scales(const Area& area, int em) const {
    double p0 = HUGE_VAL, p1 = -HUGE_VAL, v0 = HUGE_VAL, v1 = -HUGE_VAL;
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        for (const LineProfileSet::Point& p : set_->line(lines_[k]).points) {
            p0 = std::min(p0, p.position);
            p1 = std::max(p1, p.position);
            const float v = p.value(value_);
            if (!std::isnan(v)) {
                v0 = std::min(v0, plotted(static_cast<int>(k), v));
                v1 = std::max(v1, plotted(static_cast<int>(k), v));
            }
        }
    }
    if (p0 > p1) {
        p0 = p1 = 0.0;
    }
    if (v0 > v1) {
        v0 = v1 = 0.0;
    }
    return {frame(area, em), axis(p0, p1), axis(v0, v1)};
}

int LineProfilePainter::x(const Scales& s, double position) {
    const Frame& f = s.frame;
    return GraphScale::pixel(f.left + (position - static_cast<double>(s.position.bottom)) *
                                          (f.right - f.left) /
                                          static_cast<double>(s.position.span));
}

int LineProfilePainter::y(const Scales& s, double plotted) {
    const Frame& f = s.frame;
    return GraphScale::pixel(f.top +
                             std::trunc((static_cast<double>(s.value.top) - plotted) *
                                        (f.bottom - f.top) / static_cast<double>(s.value.span)));
}

double LineProfilePainter::valueAt(const Scales& s, int y) {
    const Frame& f = s.frame;
    return static_cast<double>(s.value.top) - static_cast<double>(y - f.top) *
                                                  static_cast<double>(s.value.span) /
                                                  std::max(1, f.bottom - f.top);
}

int LineProfilePainter::legendEm(int width, int em) {
    const double fits = width / (kCharWidth * std::strlen(kLegend));
    return std::max(1, std::min(em, static_cast<int>(fits)));
}

void LineProfilePainter::draw(DrawingSurface& surface, const Area& area, int em,
                              bool legend) const {
    surface.setFont(em);
    const Scales sc = scales(area, em);
    const Frame& f = sc.frame;
    if (lines_.empty()) {
        surface.text(f.left, f.top, kNoLine);
        return;
    }
    std::string caption = formatText("%s[nT]", SurveyMapPainter::valueName(value_));
    if (lines_.size() > 1) {
        caption += formatText(", lines stacked %g nT apart from the lowest", offset_);
    } else {
        caption = LineTitle::of(set_->line(lines_[0]).number, LineTitle::Form::SixDigits) + ": " +
                  caption;
    }
    surface.text(area.left + em / 2, area.top + em / 4, caption);
    drawAxes(surface, sc, em);
    if (!anyValue()) {
        surface.text(f.left + em, f.top + em,
                     formatText("No reading of %s has a %s value.",
                                lines_.size() > 1 ? "these lines" : "this line",
                                SurveyMapPainter::valueName(value_)));
    }
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        drawLine(surface, sc, static_cast<int>(k), em);
    }
    if (legend) {
        // On one line within the picture: smaller where the page is too narrow for it.
        surface.setFont(legendEm(area.width - em, em));
        surface.text(area.left + em / 2, f.bottom + 2 * em + em / 2, kLegend);
    }
}

void LineProfilePainter::drawAxes(DrawingSurface& s, const Scales& sc, int em) const {
    const Frame& f = sc.frame;
    s.segment(f.left, f.bottom, f.right, f.bottom);
    s.segment(f.left, f.bottom, f.left, f.top);
    const double valueStep = static_cast<double>(sc.value.step);
    for (const double v : steps(sc.value)) {
        const int vy = y(sc, v);
        s.segment(f.left - em / 2, vy, f.left, vy);
        const std::string text = label(v, valueStep);
        s.text(f.left - em / 2 - (static_cast<int>(text.size()) + 1) * em * 3 / 5, vy - em / 2,
               text);
    }
    const double positionStep = static_cast<double>(sc.position.step);
    for (const double p : steps(sc.position)) {
        const int px = x(sc, p);
        s.segment(px, f.bottom, px, f.bottom + em / 2);
        const std::string text = label(p, positionStep);
        s.text(px - static_cast<int>(text.size()) * em * 3 / 10, f.bottom + em / 2 + 1, text);
    }
    // Beyond the last label, which stands centred on the frame's corner.
    s.text(f.right + em + em / 2, f.bottom + em / 2 + 1, "Position");
}

void LineProfilePainter::drawLine(DrawingSurface& s, const Scales& sc, int k, int em) const {
    const LineProfileSet::Line& line = set_->line(lines_[static_cast<std::size_t>(k)]);
    // The profile runs through the readings that count: flagged ones stand beside it.
    std::vector<DrawingSurface::Point> path;
    for (const LineProfileSet::Point& p : line.points) {
        const float v = p.value(value_);
        if (!std::isnan(v) && !p.flagged()) {
            path.push_back({x(sc, p.position), y(sc, plotted(k, v))});
        }
    }
    s.polyline(path);
    const int h = markSize(em);
    const int small = std::max(6, em * 3 / 4);
    // A word that would run into one already written, or past the frame into the line
    // names, is left out: a run of flagged readings stays readable, each is hollow anyway.
    std::vector<Box> words;
    std::optional<DrawingSurface::Point> last;
    for (const LineProfileSet::Point& p : line.points) {
        const float v = p.value(value_);
        if (std::isnan(v)) {
            continue;
        }
        const int px = x(sc, p.position);
        const int py = y(sc, plotted(k, v));
        last = DrawingSurface::Point{px, py};
        if (p.flagged()) {
            square(s, px, py, h);
            const Box word{px + h + 2, py - h - small,
                           px + h + 2 + static_cast<int>(p.word.size() + 1) * small * 3 / 5,
                           py - h};
            if (word.x2 <= sc.frame.right &&
                std::none_of(words.begin(), words.end(), [&word](const Box& b) {
                    return word.x1 < b.x2 && b.x1 < word.x2 && word.y1 < b.y2 && b.y1 < word.y2;
                })) {
                s.setFont(small);
                s.text(word.x1, word.y1, p.word);
                s.setFont(em);
                words.push_back(word);
            }
        } else {
            s.fillRect(px - h, py - h, 2 * h + 1, 2 * h + 1, 0x000000);
        }
        if (candidate(p.reading)) {
            diamond(s, px, py, 2 * h + 3);
        }
        if (p.reading == current_) {
            diamond(s, px, py, 2 * h + 7);
        }
    }
    if (last) {
        s.text(sc.frame.right + em / 2, last->y - em / 2,
               LineTitle::of(line.number, LineTitle::Form::SixDigits));
    }
}

int LineProfilePainter::readingAt(const Area& area, int em, int px, int py) const {
    const Scales sc = scales(area, em);
    const int radius = std::max(6, em / 2);
    long long best = static_cast<long long>(radius) * radius + 1;
    int found = -1;
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        for (const LineProfileSet::Point& p : set_->line(lines_[k]).points) {
            const float v = p.value(value_);
            if (std::isnan(v)) {
                continue;
            }
            const long long dx = x(sc, p.position) - px;
            const long long dy = y(sc, plotted(static_cast<int>(k), v)) - py;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                found = p.reading;
            }
        }
    }
    return found;
}

std::vector<int> LineProfilePainter::outside(const Area& area, int em, const Box& box) const {
    const Scales sc = scales(area, em);
    const int x1 = std::min(box.x1, box.x2), x2 = std::max(box.x1, box.x2);
    const int y1 = std::min(box.y1, box.y2), y2 = std::max(box.y1, box.y2);
    std::vector<int> found;
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        const int kk = static_cast<int>(k);
        const std::vector<LineProfileSet::Point>& points = set_->line(lines_[k]).points;
        const bool touched =
            std::any_of(points.begin(), points.end(), [&](const LineProfileSet::Point& p) {
                const float v = p.value(value_);
                if (std::isnan(v)) {
                    return false;
                }
                const int px = x(sc, p.position);
                const int py = y(sc, plotted(kk, v));
                return px >= x1 && px <= x2 && py >= y1 && py <= y2;
            });
        if (!touched) {
            continue;
        }
        // Compared as drawn, so that what the eye sees inside the box stays unflagged.
        for (const LineProfileSet::Point& p : points) {
            const float v = p.value(value_);
            if (std::isnan(v)) {
                continue;
            }
            const int py = y(sc, plotted(kk, v));
            if (py < y1 || py > y2) {
                found.push_back(p.reading);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace velkor
