#include "ui/plan/PlanMarks.h"

#include <QPainter>

#include "core/plan/Declutter.h"

namespace vexaline::plan {

bool InView(const ViewTransform& view, CPlanePoint p, double margin) {
    const ScreenPoint s = view.ToScreen(p);
    return s.u >= margin && s.v >= margin && s.u <= view.Width() - margin && s.v <= view.Height() - margin;
}

void PaintMarks(QPainter& painter, const std::vector<MeasuredMark>& marks, int selected, const ViewTransform& view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    // Out last, so that a red point is never hidden under a green one; one
    // mark of each colour per pixel (a mark may stand 5 pixels off the edge).
    constexpr double kRim = 5;
    for (bool in : {true, false}) {
        painter.setBrush(QColor::fromRgb(in ? MarkColours::kIn : MarkColours::kOut));
        PixelSieve sieve(static_cast<int>(view.Width() + 2 * kRim), static_cast<int>(view.Height() + 2 * kRim));
        for (const MeasuredMark& m : marks) {
            const ScreenPoint s = view.ToScreen(m.at);
            if (m.bIn == in && sieve.Take(s.u + kRim, s.v + kRim)) painter.drawEllipse(QPointF(s.u, s.v), 4, 4);
        }
    }
    if (selected >= 0 && selected < static_cast<int>(marks.size())) {
        const MeasuredMark& m = marks[selected];
        const ScreenPoint s = view.ToScreen(m.at);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor::fromRgb(MarkColours::kSelected), 2.5));
        painter.drawEllipse(QPointF(s.u, s.v), 10, 10);
        painter.drawText(QPointF(s.u + 13, s.v - 8), m.name);
    }
    painter.restore();
}

}  // namespace vexaline::plan
