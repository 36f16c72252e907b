#pragma once
#include <vector>

#include "core/files/PointFile.h"

class QWidget;
class RoadDocument;

namespace vexaline::plan {

// "打印": the setting-out sheet of the document's results, drawn on the road
// and with the values they were computed from (not what the rows say now),
// the station setup's points with them. Over 200 pages the user is asked;
// the pages are laid out under progress (cancel keeps nothing), then shown
// in the print preview; a PDF file is written whole or not at all. Every
// failure is told to owner. The results must hold rows.
void PrintSheet(const RoadDocument& document, const std::vector<PointRecord>& points, QWidget* owner);

}  // namespace vexaline::plan
