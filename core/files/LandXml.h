#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Profile.h"
#include "core/text/ControlLine.h"

// LandXML 1.2 alignments, the exchange format of road design software.
//
// Conventions of the file: points are "northing easting [elevation]", so a
// point's first number is our X (north) and its second our Y (east); rot
// "cw" turns right, "ccw" left; stations run from the alignment's staStart
// through each element's length in turn. Direction attributes are never
// read: their zero and sense differ between programs.
namespace vexaline {

enum class ImportStatus {
    Ok,
    Refused,    // a well-formed document this program cannot take (message says why)
    Malformed,  // not an XML document, or not LandXML
};

struct LandXmlImport {
    ImportStatus status = ImportStatus::Refused;
    std::vector<ControlRow> rows;    // GBK fields; the last row is 终点
    std::string strName;             // the alignment taken, UTF-8
    std::vector<std::string> names;  // every alignment of the file, in file order
    std::string strMessage;          // UTF-8; empty when Ok
    std::string strNotice;           // UTF-8, when Ok: what the rows changed from the file (units, merges)
    // The alignment's design profile (纵断面) as grade rows, UTF-8, when Ok
    // and it has one that BuildProfile takes; otherwise empty and
    // strProfileMessage says why. The road's rows do not depend on it.
    std::vector<GradeRow> grades;
    std::string strProfileMessage;
    // The alignment's station equations (<StaEquation>), when it has them:
    // the rows' and grades' stations are then 桩号 on them.
    std::vector<EquationRow> equations;
};

// The control rows of one alignment of a LandXML document.
//
// Accepts <Alignments>/<Alignment>/<CoordGeom> made of <Line>, <Curve> and
// <Spiral spiType="clothoid">, each with <Start> and <End> points; a curve
// also needs <Center> or <PI> for its tangents and a spiral <PI>. Radii
// "INF" (any case) or absent mean infinite. Lengths are converted to metres
// from the document's <Units> (<Metric> or <Imperial> linearUnit: meter,
// millimeter, centimeter, kilometer, foot = 0.3048 m, USSurveyFoot =
// 1200/3937 m, inch, mile; none stated: metres), and strNotice says so. A
// document declared GBK, GB2312 or GB18030 is decoded; names and messages
// are valid UTF-8 whatever the file holds.
//
// Each element gives one row: station "%.3f" of the running station, its
// line type, its start radius ("%.3f", negative for ccw; "∞" on a line,
// "∞"/"-∞" for an infinite spiral end by its rot), X and Y of its start
// point with as many decimals as the 12-byte column holds (3 to 6). A last
// 终点 row holds the end point and the last element's end radius.
//
// Accuracy: the rows stake out within 5 mm of the file's own geometry
// (integrated from each element's start point and tangent), on the
// centreline and 10 m either side, at every change point and at most 10 m
// apart; positions decide. An element whose rows cannot hold it so (a few
// centimetres long, its points rounded to the column), or whose direction
// they turn beyond 10″, is merged into the previous or next element, or
// split between them, where the merged element stakes out closer and
// within 5 mm; strNotice names it. An element whose tangent the rows still
// turn beyond 20″ (a line of a few metres: with 8-digit eastings its ends
// keep 3 decimals) comes in all the same, and strNotice names it with its
// length, the worst turn and what that makes 10 m out (the worst five,
// and how many more). An element shorter than 1 mm gives no row either:
// its length still counts in the stations after it, and continuity is
// judged across it.
//
// Refuses (status Refused, message naming the element by its number in the
// file and its start station): another element or spiral type; a missing
// or non-numeric point, length or radius; rot not cw/ccw; a negative
// length; a spiral with equal end radii; a gap over 1 mm or a change of
// direction over 20″ between elements; a spiral whose end radius differs
// from the next element's start radius (the rows hold one radius per
// change point); a value wider than its column; rows that stake out beyond
// 5 mm of the file (how far, and where); an unknown length unit.
// With an empty name the document must hold exactly one alignment;
// otherwise the named one.
//
// The profile: the first <ProfAlign> in file order among the alignment's
// <Profile> elements whose state (its own, else its Profile's) is absent
// or "proposed"; <ProfSurf> (ground lines) and existing profiles are not
// read. Its children in order give one grade row each, the text
// "station elevation" of each its station and elevation ("%.3f", in the
// alignment's station frame), the desc attribute (else name) its name:
// <PVI> no curve; <ParaCurve length="L"> the radius L/|ω|, ω from the
// grades to the points either side (no curve where L or ω is 0);
// <CircCurve radius="R"> that radius. Stations in the linear unit,
// elevations in the elevationUnit (the linear unit when none is stated),
// converted to metres. Refused, naming the element by its number: an
// <UnsymParaCurve> or any other element, a text that is not two numbers, a
// missing or negative length or radius, a curve on the first or last
// element, more than kMaxGradePoints elements, an unknown elevation unit,
// and whatever BuildProfile refuses.
//
// Station equations: each <StaEquation staBack staAhead staInternal> of the
// alignment, in file order, gives a row of equations (lengths converted);
// the rows' and grades' stations are then written as 桩号 on them (with
// the occurrence in a 长链). Without staBack, the back station is the 桩号
// the equations before it reach at staInternal: staInternal plus each
// earlier equation's staAhead − staBack. Refused: a staAhead or
// staInternal missing, an equation attribute that is no number, a table
// BuildChainage refuses, a staInternal more than 1 mm from the distance the
// table gives the equation.
LandXmlImport ImportLandXml(const std::string& bytes, const std::string& alignmentName);

struct LandXmlExport {
    std::string bytes;       // the document, UTF-8; empty when refused
    std::string strMessage;  // UTF-8; empty when exported
};

// A LandXML 1.2 document (root version, date and time of `when` in local
// time, metric units, decimal degrees) with one <Alignment name staStart
// length> whose <CoordGeom> holds one element per element of the road, in
// station order. Each element starts and ends on the points of its two
// rows, so consecutive elements meet exactly; its tangents are the road's
// own evaluation at its two stations, so the file draws what the stakes are
// set out on; the remaining attributes follow from them and the radii:
// Curve: Start, Center, End, PI (left out for an arc of 180° or more),
// radius, chord, delta, tangent, length, rot. Spiral: Start, PI, End,
// length, radiusStart, radiusEnd ("INF" for ∞), rot, spiType="clothoid";
// and, from or to a straight, theta, totalX, totalY, tanLong, tanShort.
// Lengths and coordinates to 1e-6 m, angles to 1e-8 degree. An element of
// zero length (two rows at one station) has no geometry and is left out.
// Importing the document gives the same rows back (to 1e-6 m) wherever the
// road's kinks stay within the import's 20″ and the control points lie on
// the road they describe.
//
// Refuses (message): a name IsLandXmlName refuses, a road that is not
// Usable, an element with a fault, an arc of radius 0 or ∞, an element
// whose ends are no finite numbers.
//
// With a profile, the alignment also holds <Profile name><ProfAlign name>
// (the alignment's name) with one child per grade point: <PVI> at the ends
// and where there is no curve, <ParaCurve length="L"> (L = R·|ω|) where
// there is one; text "station elevation" to 1e-6 m, the point's name as
// desc. Refused besides: a point name IsLandXmlName refuses.
//
// A road with station equations (road.Chain()) also holds one <StaEquation
// staBack staAhead staInternal> per equation, after the geometry; the
// stations of the geometry and the profile are distances, as staInternal.
LandXmlExport ExportLandXml(const Alignment& road, const std::string& name, std::time_t when,
                            const Profile* profile = nullptr);

// A name an XML attribute can hold: well-formed UTF-8 without control
// characters (below U+0020, and U+007F), which XML 1.0 does not allow.
// ExportLandXml refuses any other.
bool IsLandXmlName(const std::string& name);

}  // namespace vexaline
