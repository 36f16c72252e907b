#pragma once
#include <QFont>
#include <QPointF>

#include "core/plan/ViewTransform.h"

class QPainter;

// What every plan picture carries besides the road: where north is and how
// long a metre is.
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

}  // namespace vexaline::plan
