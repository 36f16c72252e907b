#pragma once
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "core/plan/Declutter.h"
#include "core/plan/ViewTransform.h"

class QFontMetricsF;
class QPainter;

// What every plan picture carries besides the road: where north is, how
// long a metre is, and what the colours mean.
namespace vexaline::plan {

// A north arrow with its "N", the arrow `size` pixels long, its foot at `foot`.
void PaintNorthArrow(QPainter& painter, QPointF foot, double size);

// A scale bar of a round length (1, 2, 5 × 10ⁿ m) at most `maxPixels` long,
// its left end at `start`, labelled with its length. Nothing when no round
// length fits.
void PaintScaleBar(QPainter& painter, const ViewTransform& view, QPointF start, double maxPixels);

// The font of every text on paper, the plan's and the sheet's: one family
// that holds both the Latin and the Chinese characters, at a size in pixels.
QFont PaperFont(double pixels, bool bold = false);

// The text of a scale bar length: "500 m", "2 km", "0.05 m".
QString ScaleText(double metres);

// Where the north arrow and the scale bar stand on a picture: the arrow at
// the top right corner, the bar at the bottom left. The legend takes the
// bottom right corner (see LegendBox).
struct DecorLayout {
    QPointF northFoot;
    double northSize = 36;
    QPointF scaleStart;
    double scaleMaxPixels = 200;
};
DecorLayout StandardDecor(QSizeF picture);

// The boxes labels keep clear of: the arrow with its N, and the scale bar
// at its longest with its text.
std::vector<ScreenBox> DecorBoxes(const DecorLayout& layout);

// The north arrow and the scale bar where StandardDecor puts them.
void PaintDecor(QPainter& painter, const ViewTransform& view);

// One line of the legend: a stroke of the colour (a line type) or a dot (a
// kind of point), and what it means.
struct LegendEntry {
    unsigned rgb = 0;
    QString text;
    bool line = true;
};

// The legend's box at the bottom right corner of a picture, for the entries
// in the font of `metrics`; empty when there are none.
QRectF LegendBox(const QFontMetricsF& metrics, const std::vector<LegendEntry>& entries, QSizeF picture);
// The legend in its box, on white, in the painter's font.
void PaintLegend(QPainter& painter, const std::vector<LegendEntry>& entries, const QRectF& box);

}  // namespace vexaline::plan
