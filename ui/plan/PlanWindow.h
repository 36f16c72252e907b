#pragma once
#include <QPainter>
#include <functional>
#include <vector>

#include "core/files/PointFile.h"
#include "core/geometry/PlanePoint.h"
#include "core/plan/ViewTransform.h"

class CPlanView;
class QWidget;
class RoadDocument;

namespace vexaline::plan {

// The plan view of the document's road (objectName "2100", made a child of
// owner and placed beside it): the road with the elements the data check
// flags in red, the results, the station setup's points, and whatever
// overlay paints over them (the measured points of 检核). It follows every
// change of the rows, the tables and the results; a click on the plan is
// handed to clicked (the window looks the point up).
CPlanView* MakePlanView(const RoadDocument& document, const std::vector<PointRecord>& points, QWidget* owner,
                        std::function<void(QPainter&, const ViewTransform&)> overlay,
                        std::function<void(CPlanePoint)> clicked);

}  // namespace vexaline::plan
