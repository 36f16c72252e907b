#include "ui/toolkit/SheetPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace vexaline::platform {

namespace {

constexpr double kUnitsPerMm = 96 / 25.4;
constexpr double kFontPixels = 100;  // texts drawn this large and scaled down to their size

}  // namespace

QColor InkColour(SheetInk ink) {
    const unsigned rgb = StyleOf(ink).rgb;
    return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

void PaintSheetDrawing(QPainter& painter, const SheetDrawing& page) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, page.dWidth, page.dHeight), Qt::white);
    for (const SheetLine& line : page.lines) {
        if (line.points.size() < 2) continue;
        const InkStyle style = StyleOf(line.ink);
        QPainterPath path(QPointF(line.points.front().x, line.points.front().y));
        for (std::size_t k = 1; k < line.points.size(); ++k) path.lineTo(line.points[k].x, line.points[k].y);
        if (line.bArea) {
            path.closeSubpath();
            painter.fillPath(path, InkColour(line.ink));
            continue;
        }
        QPen pen(InkColour(line.ink), style.dWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (style.bDashed) pen.setDashPattern({1.5 / style.dWidth, 0.8 / style.dWidth});
        painter.strokePath(path, pen);
    }
    QFont font(QString::fromUtf8(kSheetFont));
    font.setPixelSize(static_cast<int>(kFontPixels));
    painter.setPen(Qt::black);
    for (const SheetText& t : page.texts) {
        font.setBold(t.bBold);
        painter.setFont(font);
        const QString text = QString::fromStdString(t.strText);
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        const double shift = t.anchor == SheetAnchor::Left ? 0 : t.anchor == SheetAnchor::Centre ? width / 2 : width;
        painter.save();
        painter.translate(t.at.x, t.at.y);
        painter.scale(t.dSize / kFontPixels, t.dSize / kFontPixels);
        painter.drawText(QPointF(-shift, 0), text);
        painter.restore();
    }
    painter.restore();
}

QSizeF SheetPictureSize(const SheetDrawing& page) { return QSizeF(page.dWidth, page.dHeight) * kUnitsPerMm; }

std::vector<QPicture> SheetPictures(const std::vector<SheetDrawing>& pages) {
    std::vector<QPicture> pictures(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        QPainter painter(&pictures[i]);
        painter.scale(kUnitsPerMm, kUnitsPerMm);
        PaintSheetDrawing(painter, pages[i]);
    }
    return pictures;
}

}  // namespace vexaline::platform
