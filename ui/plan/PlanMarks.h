#pragma once
#include <QString>
#include <vector>

#include "core/plan/ViewTransform.h"

class QPainter;

// Measured points over the plan (实测检核): a layer of its own, drawn after
// the road, green within tolerance and red outside, the selected one ringed
// and named.
namespace vexaline::plan {

struct MeasuredMark {
    CPlanePoint at;
    bool bIn = false;
    QString name;
};

struct MarkColours {
    static constexpr unsigned kIn = 0x00a000;        // green
    static constexpr unsigned kOut = 0xdc0000;       // red
    static constexpr unsigned kSelected = 0x0050ff;  // the ring of the selected point
};

// Draws the marks that fall in the view; selected: an index into marks, or -1.
void PaintMarks(QPainter& painter, const std::vector<MeasuredMark>& marks, int selected, const ViewTransform& view);

// True when the point lies at least margin pixels inside the picture.
bool InView(const ViewTransform& view, CPlanePoint p, double margin);

}  // namespace vexaline::plan
