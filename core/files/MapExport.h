#pragma once
#include <string>
#include <vector>

#include "core/grid/Grid.h"
#include "core/plan/Sampling.h"
#include "core/road/Alignment.h"
#include "core/road/Inspect.h"
#include "core/road/Profile.h"

// The road on a map: its centreline, its change points and named points
// in longitude and latitude, as KML (Google Earth, phones) or GeoJSON
// (RFC 7946, web maps). The longitudes and latitudes are on the design
// grid's own datum, CGCS2000 for the Chinese grids: maps draw WGS 84,
// which agrees with CGCS2000 to a few centimetres.
namespace vexaline {

enum class MapFormat { Kml, GeoJson };

// No chord of the mapped centreline strays further from the road.
inline constexpr double kMapChordError = 0.005;

// The centreline for a map, in station order: each element sampled by
// SampleElement within kMapChordError, both its ends included (every
// change point), a join between two elements once. Needs a usable road
// whose elements can all be evaluated.
std::vector<PlanSample> MapCentreline(const Alignment& road);

struct MapExport {
    std::string bytes;       // UTF-8; empty when refused
    std::string strMessage;  // UTF-8; empty when exported
};

// The map of the road. toMap carries the design grid (gridName, as typed)
// to its latitudes and longitudes (GridTransform::ToMap); with a profile
// the centreline and change points carry their design elevations, the
// points their own heights (none where every height is 0.000, the mark of
// stakes exported without a profile). Longitudes and latitudes have 9
// decimals (0.1 mm), heights and grid coordinates 3.
//
// KML 2.2: a Document named `name` holding the centreline as LineStrings
// with tessellate (altitudeMode absolute where they have heights; the line
// is cut where the profile begins or ends), a Folder of the change points
// named "桩号 线型" ("K0+000.000 直线"), a Folder of the points by name.
// GeoJSON: a FeatureCollection of the same, each feature with the
// properties station (the 桩号 of a change point, else null), name, x, y
// (the design grid's X and Y) and h (null where there is none).
//
// Refuses (strMessage): a road that is not usable or has an element that
// cannot be evaluated (naming its station), a point the grid cannot carry
// (naming it).
MapExport ExportMap(MapFormat format, const Alignment& road, const GridTransform& toMap, const std::string& gridName,
                    const Profile* profile, const std::vector<MeasuredPoint>& points, const std::string& name);

}  // namespace vexaline
