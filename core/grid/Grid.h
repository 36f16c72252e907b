#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/PlanePoint.h"

// Coordinate systems at the doors: the grid a design, a control network or
// a GNSS rover works in, named as the user names it, and points carried
// from one grid to another through PROJ and its EPSG database.
//
// Conventions, as everywhere in Vexaline: X north, Y east, metres; in a
// geographic grid X is the latitude and Y the longitude, degrees, north and
// east positive. The axis orders of EPSG (latitude first, eastings first,
// ...) stay inside this file's code.
namespace vexaline {

// The custom Gauss–Krüger grid of construction sites (任意带, 抵偿投影面):
// transverse Mercator on CGCS2000 (the GRS80 ellipsoid), latitude of origin
// 0, false northing 0, central meridian L0, scale k0 = 1 + H / 6,371,000
// for the projection height H, false easting 500,000 m unless given; in
// PROJ's words "+proj=tmerc +lat_0=0 +lon_0=L0 +k_0=k0 +x_0=FE +y_0=0
// +ellps=GRS80 +units=m" on the CGCS2000 datum.
inline constexpr double kGkEarthRadius = 6371000;
inline constexpr double kGkFalseEasting = 500000;
inline constexpr double kGkMaxHeight = 10000;  // |H|, metres: k0 within 1 ± 0.0016

struct Grid {
    std::string strName;  // as typed, blanks trimmed: "EPSG:4527", "GK:114.3000,50"
    int nEpsg = 0;        // 0 for the custom grid
    double dMeridian = 0;                      // custom: L0, degrees east
    double dHeight = 0;                        // custom: H, metres
    double dFalseEasting = kGkFalseEasting;    // custom, metres
    bool bGeographic = false;                  // latitude and longitude, degrees
    std::string strTitle;                      // PROJ's name of it, for messages
};

inline double GkScale(double height) { return 1 + height / kGkEarthRadius; }

struct GridRead {
    std::optional<Grid> grid;
    std::string strMessage;  // UTF-8, naming the text; empty when read
};

// A grid as typed: "EPSG:<code>" (case ignored) of a two-dimensional
// projected system in metres or geographic system in degrees that PROJ's
// EPSG database holds, or "GK:<central meridian D.MMSS>[,<projection
// height m>[,<false easting m>]]". Refuses, saying why: any other text, a
// code PROJ does not know, a system of another kind (geocentric, vertical,
// three-dimensional) or unit (feet, grads), a central meridian that is no
// D.MMSS longitude within ±180°, a height beyond ±kGkMaxHeight, a false
// easting that is no survey coordinate.
GridRead ReadGrid(const std::string& text);

// The custom grid's definition in WKT (ISO 19162), CGCS2000 named as its
// base (EPSG:4490): what PROJ reads it from, and what a file that carries
// the grid says of it. For a grid with nEpsg 0.
std::string GkWkt(const Grid& g);

// Points carried from one grid to another. PROJ's transverse Mercator
// (Poder/Engsager) is exact to a few nanometres within 3,900 km of the
// central meridian; between two grids on one datum nothing else is done.
class GridTransform {
public:
    struct Make;
    ~GridTransform();
    GridTransform(GridTransform&&) noexcept;
    GridTransform& operator=(GridTransform&&) noexcept;

    // From one grid to another. Refuses two grids whose datums PROJ can
    // only join by a guess (no published parameters between them: the
    // points would be off by metres to hundreds of metres), except CGCS2000
    // and WGS 84, which agree to a few centimetres.
    static Make Between(const Grid& from, const Grid& to);
    // From a grid to latitude and longitude on its own datum, for a map.
    // Refuses a grid whose datum is neither CGCS2000 nor WGS 84 (nor an
    // ITRF): on a map drawn in WGS 84 it would be off by tens of metres.
    static Make ToMap(const Grid& from);

    // Transforms the points in place, forward or the other way, each
    // checked by carrying it back. The index of the first point that could
    // not be transformed (the points are then unspecified): a latitude
    // beyond ±90° or longitude beyond ±180° where the input is geographic,
    // a point PROJ refuses, a result that is no survey coordinate, one that
    // does not come back within a millimetre (1e-8°): a northing beyond
    // the pole. Transverse Mercator itself holds the whole ellipsoid: a
    // point 180° from the central meridian is carried (and back), as far
    // off as it is. One thread at a time.
    std::optional<std::size_t> Apply(std::vector<CPlanePoint>& points, bool inverse = false) const;

private:
    struct Impl;
    explicit GridTransform(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

struct GridTransform::Make {
    std::optional<GridTransform> transform;
    std::string strMessage;  // UTF-8; empty when made
};

}  // namespace vexaline
