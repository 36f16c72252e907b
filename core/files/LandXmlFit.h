#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/files/LandXmlRead.h"
#include "core/road/Alignment.h"
#include "core/text/ControlLine.h"

// From the elements of a LandXML file to control rows that stake out as the
// file's own geometry does. Internal to core/files: LandXml.h is the
// interface.
//
// Rows turn every element by the chord between their two points. A point
// held to the millimetre fixes the chord of a 3 cm arc only to about a
// degree, so each element is checked against the file, and one that its
// rows cannot hold is merged into a neighbour where the merged element
// still stakes out within the tolerance. Positions decide: with 8-digit
// eastings the rows keep 3 decimals, so a line of a few metres cannot hold
// its direction to 20″, while 30″ moves a side stake 10 m out by 1.5 mm.
namespace vexaline::landxml {

// What an imported road may differ from the file by, anywhere: centreline
// and side stakes 10 m either side. A tangent azimuth further off than
// kToleranceAzimuth holds (its effect is in the side stakes), but is named.
inline constexpr double kTolerancePosition = 0.005;                       // metres
inline constexpr double kToleranceAzimuth = 20.0 / 3600.0 * kPi / 180.0;  // 20″
inline constexpr double kSideStake = 10.0;                                // metres

// An element of the file on the road: its geometry, its number in the file
// (1-based, for messages), its start station and its start tangent.
struct Placed {
    Geom geom;
    int nNumber = 0;
    double dStation = 0;
    double dAzimuth = 0;
};

// The file's own geometry d metres into the element (0 <= d <= length):
// integrated from its start point and start tangent along its curvature
// (zero, 1/R, or linear from 1/R start to 1/R end), never turned by a
// chord. To about 1e-12 of d.
Stake OnFile(const Placed& p, double d);

// A change point of the rows: dAlong metres into element nElement. Its row
// takes the line type and start radius of element nOwner; nOwner -1 makes
// the 终点 row, with the last element's end radius.
struct Cut {
    std::size_t nElement = 0;
    double dAlong = 0;
    int nOwner = -1;
};

// The row of a cut: station "%.3f", X and Y with as many decimals as their
// 12-byte column holds (at most 6, at least 3; trailing zeros dropped down
// to 3), radius "%.3f" or ∞.
ControlRow RowAt(const std::vector<Placed>& elements, const Cut& cut);

// How far the rows of two cuts stake out from the file between them: the
// largest distance of a centreline or side stake, and of a tangent azimuth,
// sampled at both ends and at most 10 m apart; nWorst is the element (index)
// where the position is furthest off.
struct Deviation {
    double dPosition = 0, dAzimuth = 0;
    std::size_t nWorst = 0;
    double Ratio() const;  // the position against its tolerance; <= 1 holds
};
Deviation Deviate(const std::vector<Placed>& elements, const Cut& from, const Cut& to);

// An element (index) whose tangent the rows turn further than
// kToleranceAzimuth from the file, and by how much at worst (radians).
struct Turned {
    std::size_t nElement = 0;
    double dAzimuth = 0;
};

// The cuts of the rows, one at the start of each element and the end cut
// last, made to stake out within the tolerance: an element whose rows do
// not hold its stakes to half the position tolerance, or its direction to
// half of kToleranceAzimuth, is merged into the previous one, into the next
// one, or split between both at its middle, whichever stakes out closest,
// where that is closer and holds. The elements the rows fitted turn beyond
// kToleranceAzimuth are in `turned`, in file order. Empty cuts and
// `failed` set to the first stretch still off when no merge holds it.
struct Fit {
    std::vector<Cut> cuts;
    std::vector<Turned> turned;
    Deviation failed;
    bool bHolds = true;
};
Fit FitCuts(const std::vector<Placed>& elements);

}  // namespace vexaline::landxml
