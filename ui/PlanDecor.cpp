#include "ui/PlanDecor.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace vexaline::plan {

void PaintNorthArrow(QPainter& painter, QPointF foot, double size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF tip(foot.x(), foot.y() - size);
    QPainterPath half;  // the dark east half, the light west half: readable at any size
    half.moveTo(tip), half.lineTo(foot.x() + size * 0.25, foot.y()), half.lineTo(foot.x(), foot.y() - size * 0.3);
    half.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(half);
    QPainterPath other;
    other.moveTo(tip), other.lineTo(foot.x() - size * 0.25, foot.y()), other.lineTo(foot.x(), foot.y() - size * 0.3);
    other.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(other);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QRectF box(foot.x() - size, tip.y() - size * 0.6, 2 * size, size * 0.55);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("N"));
    painter.restore();
}

QFont PaperFont(double pixels, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    return font;
}

QString ScaleText(double metres) {
    if (metres >= 1000) return QString::number(metres / 1000, 'g', 6) + QStringLiteral(" km");
    return QString::number(metres, 'g', 6) + QStringLiteral(" m");
}

void PaintScaleBar(QPainter& painter, const ViewTransform& view, QPointF start, double maxPixels) {
    const double metres = RoundScaleLength(maxPixels / view.Scale());
    if (metres <= 0) return;
    const double length = metres * view.Scale();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    // Two halves, dark and light, as on a map sheet.
    painter.fillRect(QRectF(start.x(), start.y() - 4, length / 2, 4), Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(start.x(), start.y() - 4, length, 4));
    painter.drawText(QRectF(start.x(), start.y() - 22, length, 16), Qt::AlignHCenter | Qt::AlignBottom,
                     ScaleText(metres));
    painter.restore();
}

}  // namespace vexaline::plan
