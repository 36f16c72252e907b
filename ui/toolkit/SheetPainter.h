#pragma once
#include <QColor>
#include <QPicture>
#include <QSizeF>
#include <vector>

#include "core/plan/SheetDrawing.h"

class QPainter;

namespace vexaline::platform {

// The colour of an ink, as sheets and the views that show their lines draw it.
QColor InkColour(SheetInk ink);

// Paints a drawn page with its lines and texts in the painter's units, one
// millimetre of paper to one unit (the caller scales).
void PaintSheetDrawing(QPainter& painter, const SheetDrawing& page);

// The pages recorded as pictures in units of 1/96 inch, and the size of a page in them.
std::vector<QPicture> SheetPictures(const std::vector<SheetDrawing>& pages);
QSizeF SheetPictureSize(const SheetDrawing& page);

}  // namespace vexaline::platform
