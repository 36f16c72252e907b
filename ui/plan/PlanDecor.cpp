#include "ui/plan/PlanDecor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
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

DecorLayout StandardDecor(QSizeF picture) {
    DecorLayout layout;
    layout.northFoot = QPointF(picture.width() - 28, 52);
    layout.scaleStart = QPointF(14, picture.height() - 12);
    layout.scaleMaxPixels = std::min(200.0, picture.width() / 3);
    return layout;
}

std::vector<ScreenBox> DecorBoxes(const DecorLayout& d) {
    const double n = d.northSize;
    // The arrow is half as wide as long; its N stands up to 0.6 of its length above the tip.
    const ScreenBox north{d.northFoot.x() - n * 0.4, d.northFoot.y() - n * 1.6, d.northFoot.x() + n * 0.4,
                          d.northFoot.y() + 2};
    const ScreenBox scale{d.scaleStart.x() - 2, d.scaleStart.y() - 24, d.scaleStart.x() + d.scaleMaxPixels + 2,
                          d.scaleStart.y() + 2};
    return {north, scale};
}

void PaintDecor(QPainter& painter, const ViewTransform& view) {
    const DecorLayout d = StandardDecor(QSizeF(view.Width(), view.Height()));
    PaintNorthArrow(painter, d.northFoot, d.northSize);
    PaintScaleBar(painter, view, d.scaleStart, d.scaleMaxPixels);
}

namespace {
constexpr double kLegendPad = 6, kLegendSample = 22, kLegendCorner = 10;  // pixels
}

QRectF LegendBox(const QFontMetricsF& metrics, const std::vector<LegendEntry>& entries, QSizeF picture) {
    if (entries.empty()) return {};
    double text = 0;
    for (const LegendEntry& e : entries) text = std::max(text, metrics.horizontalAdvance(e.text));
    const double w = kLegendPad * 3 + kLegendSample + text, h = kLegendPad * 2 + metrics.height() * entries.size();
    return QRectF(picture.width() - kLegendCorner - w, picture.height() - kLegendCorner - h, w, h);
}

void PaintLegend(QPainter& painter, const std::vector<LegendEntry>& entries, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    const QFontMetricsF metrics(painter.font());
    double y = box.top() + kLegendPad;
    for (const LegendEntry& e : entries) {
        const double mid = y + metrics.height() / 2, x = box.left() + kLegendPad;
        const QColor colour = QColor::fromRgb(e.rgb);
        if (e.line) {
            painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(x, mid), QPointF(x + kLegendSample, mid));
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(x + kLegendSample / 2, mid), 4, 4);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + kLegendSample + kLegendPad, y + metrics.ascent()), e.text);
        y += metrics.height();
    }
    painter.restore();
}

}  // namespace vexaline::plan
