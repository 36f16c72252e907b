#pragma once
#include <ctime>
#include <string>

#include "core/grid/Grid.h"
#include "core/road/Alignment.h"
#include "core/road/Profile.h"

// The road for a BIM model: an IFC 4.3 (IFC4X3_ADD2) alignment in an
// ISO 10303-21 file, laid out the way the implementers' agreements of
// IFC 4.3 ask, so that any reader evaluates it to the stakes.
//
// Conventions of the file: metres and radians; x is easting (our Y), y
// northing (our X), z height; directions counter-clockwise from +x; a
// radius or curvature positive turning left, 0 for ∞; gradients as ratios,
// a vertical curve's radius positive for a sag. Distances along the
// alignment run from the road's first station; stations (桩号) are in
// Pset_Stationing of IfcReferent.
namespace vexaline {

struct IfcExport {
    std::string bytes;       // the file, ASCII; empty when refused
    std::string strMessage;  // UTF-8; empty when exported
};

// The file of one road: IfcProject aggregating one IfcAlignment (with an
// IfcLocalPlacement), which nests IfcAlignmentHorizontal and, with a
// profile, IfcAlignmentVertical, each nesting its IfcAlignmentSegments
// (LINE, CIRCULARARC, CLOTHOID from start to end radius, an arc-to-arc
// transition among them; CONSTANTGRADIENT, PARABOLICARC) and a closing
// segment of length 0; and, apart, the IfcReferents (STATION) of the start
// and of each station equation (Station = ahead, IncomingStation = back).
//
// Geometry: each segment's start is the road's own evaluation there, so a
// reader finds the stakes (to rounding) at every station; an element of
// zero length is left out. The alignment is represented by an
// IfcCompositeCurve of IfcCurveSegments over IfcLine, IfcCircle and
// IfcClothoid ('Axis', 'Curve2D'; 'FootPrint' with a profile) and with a
// profile by an IfcGradientCurve of IfcCurveSegments over IfcLine and
// IfcPolynomialCurve ('Axis', 'Curve3D'); each segment by its own curve
// segment ('Axis', 'Segment'); the last curve segment of each curve has
// length 0 and is DISCONTINUOUS. Every real in full double precision. The
// profile is written where it overlaps the road.
//
// With a grid (a projected one, metres), an IfcProjectedCRS (Name
// "EPSG:n", or an IfcWellKnownText with the custom grid's definition) and
// an identity IfcMapConversion: the file's coordinates are the grid's.
//
// The header's time stamp is `when` (local time); everything else hangs on
// the inputs only, GlobalIds included.
//
// Refuses (strMessage, nothing written): a name that is not UTF-8, a road
// that is not usable (the row whose station is no number named), an
// element that cannot be evaluated (a fault, an arc of radius 0 or ∞, a
// transition to radius 0, no finite number: its row and station named), a
// geographic grid, a profile that does not overlap the road.
IfcExport ExportIfc(const Alignment& road, const std::string& name, std::time_t when, const Profile* profile = nullptr,
                    const Grid* grid = nullptr);

}  // namespace vexaline
