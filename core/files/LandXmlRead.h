#pragma once
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "core/geometry/PlanePoint.h"
#include "core/road/Alignment.h"
#include "core/road/Profile.h"

// The pieces of a LandXML document the import reads, checked one by one.
// Internal to core/files: LandXml.h is the interface.
namespace vexaline {
struct LandXmlImport;
}

namespace vexaline::landxml {

enum class Kind { Line, Curve, Spiral };

// One element of a <CoordGeom> as the file states it.
struct Geom {
    Kind kind = Kind::Line;
    double dLength = 0;
    CPlanePoint ptStart, ptEnd;
    std::optional<CPlanePoint> ptCenter, ptPi;
    double dRadiusStart = 0, dRadiusEnd = 0;  // magnitudes; INFINITE_RADIUS for INF
    Turn turn = Turn::Right;
};

struct GeomRead {
    Geom geom;
    std::string strMessage;  // UTF-8; empty when read
};

// The node's name without a namespace prefix ("lx:Line" is "Line").
std::string LocalName(const pugi::xml_node& node);

// The first child with that local name, or an empty node.
pugi::xml_node Child(const pugi::xml_node& node, const char* name);

// A whole text as one finite number (blanks around it allowed).
std::optional<double> Number(const char* text);

// The length unit of the document (<Units><Metric|Imperial linearUnit>):
// metres per unit, exact by definition (international foot 0.3048 m, US
// survey foot 1200/3937 m); 1 when no unit is stated. A unit this program
// does not know, or feet without a linearUnit, is refused (message).
struct LinearUnit {
    double dMetres = 1.0;
    double dElevationMetres = 1.0;  // the elevationUnit's, else dMetres; 0 when unknown
    std::string strElevationUnit;   // as the file names it
    std::string strNotice;   // UTF-8: what was converted; empty for metres
    std::string strMessage;  // UTF-8: why refused; empty when known
};
LinearUnit ReadLinearUnit(const pugi::xml_node& root);

// The design profile of an <Alignment> as grade rows (LandXml.h says
// which and how); message set when it has none or it is refused.
struct ProfileRead {
    std::vector<GradeRow> rows;
    std::string strMessage;  // UTF-8; empty when read
};
ProfileRead ReadProfile(const pugi::xml_node& alignment, const LinearUnit& unit);

// Appends <Profile><ProfAlign> of the profile to the alignment; the
// message when a point's name cannot be written, else empty.
std::string AddProfile(pugi::xml_node alignment, const std::string& name, const Profile& profile);

// Reads element number `number` starting at `station` (metres); the message
// names it. Points, radii and the length are multiplied by `metres`.
GeomRead ReadGeom(const pugi::xml_node& node, int number, double station, double metres);

// Tangent azimuths at the element's ends, from its points alone; empty
// where the points do not give one (coincident points).
std::optional<double> StartTangent(const Geom& g);
std::optional<double> EndTangent(const Geom& g);

// The alignment's <StaEquation> elements as the import's equation table
// (lengths times metres, "%.3f"), checked by BuildChainage and against each
// one's staInternal (within 1 mm); the import's rows and grade rows, read
// as distances, then rewritten as 桩号. The message when refused, else empty.
std::string ReadStationEquations(const pugi::xml_node& alignment, double metres, vexaline::LandXmlImport& out);

// One <StaEquation staBack staAhead staInternal> per equation of the road.
void AddStationEquations(pugi::xml_node alignment, const Chainage& chain);

}  // namespace vexaline::landxml
