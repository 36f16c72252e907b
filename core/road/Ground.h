#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Section.h"
#include "core/road/SectionTemplate.h"

// The road meeting the ground: the ground line of a station (地面线), the
// slope stakes where the side slopes meet it (坡脚 in fill, 坡口 in cut),
// the areas of fill and cut between them, and the volumes between stations
// by average end areas (平均断面法).
//
// Conventions: offsets in metres square to the road, negative on the left;
// elevations in metres; areas in m², volumes in m³; stations are
// continuous distances (a 断链 is the doors' business).
namespace vexaline {

struct GroundPoint {
    double dOffset = 0;
    double dElevation = 0;
};

// The ground across the road at one station: linear between its points,
// and nowhere beyond its outermost two.
struct GroundSection {
    double dStation = 0;
    std::vector<GroundPoint> points;  // offsets strictly increasing, at least 2

    // The ground at the offset (one rounding of the interpolation; a point's
    // own elevation at its offset); nullopt beyond the outermost points.
    std::optional<double> At(double offset) const;
};

// The section at station s among sections sorted by station: the one within
// half a millimetre (files write a 桩号 to the millimetre), or nullptr.
const GroundSection* GroundAtStation(const std::vector<GroundSection>& sorted, double s);

enum class SlopeFault {
    None,
    NoGroundAtHinge,  // the ground line does not reach the hinge
    NoSlopeRow,       // the template has no slope of the kind the ground asks for on this side
    NoMeeting,        // the slope leaves the ground line without meeting it
    TooManyBerms,     // more than kMaxSlopeSteps slopes and berms inside the ground line
};

inline constexpr int kMaxSlopeSteps = 100000;

struct SlopeMeeting {
    SlopeFault fault = SlopeFault::None;
    SideSlopeKind kind = SideSlopeKind::Fill;  // what the ground at the hinge asks for
    // Outward from the hinge (not in it): the corners of the berms passed,
    // then the catch point. Empty unless fault is None.
    std::vector<GroundPoint> line;
};

// A side slope from its hinge (the outermost surface point of the side, or
// the centre where the side has none) out to where it first meets the
// ground. Ground at the hinge at or below it is fill: the side's fill slope
// runs down and out at 1:m; above it, cut: the cut slope runs up and out.
// With berms, after every dBermHeight of height a flat berm of dBermWidth
// (none where that is 0), then the slope again. The catch point is the first
// point going outward where the slope meets the ground line, found exactly
// on the two polylines (the ground touching the slope is a meeting; ground
// level with the hinge in fill makes the hinge the catch point). which says
// the way out: Left towards smaller offsets.
SlopeMeeting MeetSlope(const TemplateSide& side, RoadSide which, GroundPoint hinge, const GroundSection& ground);

struct EarthAreas {
    double dFill = 0;  // the design above the ground
    double dCut = 0;   // the design below it
};

// The areas between the design line and the ground over the design line's
// span, integrated exactly on the two polylines (each piece where neither
// has a break is a trapezoid, split where the two cross). design: offsets
// non-decreasing (a repeated offset adds nothing). nullopt when the ground
// does not reach both ends of the design line.
std::optional<EarthAreas> AreasBetween(const std::vector<GroundPoint>& design, const GroundSection& ground);

// The pieces AreasBetween adds up, as rings to draw: each maximal stretch
// where the design stays above the ground (fill) or below it (cut), its
// design line forward and then its ground line back, split where the two
// cross. Stretches where the two coincide have no ring. Empty where the
// ground does not reach both ends of the design line.
struct EarthRegion {
    bool bFill = true;
    std::vector<GroundPoint> ring;
};
std::vector<EarthRegion> EarthRegions(const std::vector<GroundPoint>& design, const GroundSection& ground);

// A corner of a side slope or its catch point, placed on the ground.
struct SlopeVertex {
    double dOffset = 0;
    double dElevation = 0;
    CPlanePoint point;
};

// One side's slope stake.
struct CatchSide {
    SideSlopeKind kind = SideSlopeKind::Fill;
    double dHeight = 0;               // slope height |h_catch − h_hinge|
    std::vector<SlopeVertex> slope;   // outward from the hinge: berm corners, the catch point last
    const SlopeVertex& Catch() const { return slope.back(); }
};

// A design section meeting its ground.
struct EarthSection {
    std::optional<double> centreGround;  // the ground at offset 0
    std::optional<double> centreFill;    // 填挖: design − ground at the centre, + fill
    std::vector<std::optional<double>> pointGround;  // the ground at each break point of the section
    std::optional<CatchSide> left, right;
    std::optional<EarthAreas> area;      // with both catch points
    std::vector<std::string> messages;   // GBK: each catch point missing, named by station and side
};

// The section's catch points on both sides (MeetSlope, their X and Y by
// StakeAcross), its centre's ground and fill, and its areas between the two
// catch points (AreasBetween over the design line: slope, surface, slope).
// A section that is a message gives an empty value; ground nullptr (no
// ground at the station), a section without heights, a side without its
// catch point give their messages, named by station (on the road's 桩号) and
// side, and no area.
EarthSection MeetGround(const Alignment& road, const SectionTemplate& tmpl, const CrossSection& design,
                        const GroundSection* ground);

// Slope, surface, slope: the design line of a section with heights from the
// left catch point to the right one, offsets increasing (a repeated offset
// kept once), as its areas are measured.
std::vector<GroundPoint> DesignLine(const CrossSection& c, const CatchSide& left, const CatchSide& right);

// The areas of a station, for the volumes.
struct StationAreas {
    double dStation = 0;
    std::optional<EarthAreas> area;
};

struct VolumeStretch {
    double dFrom = 0, dTo = 0;
    double dLength = 0;     // dTo − dFrom: the real length, across a 断链 too
    bool bCounted = false;  // both ends have areas; else no volumes, left out of the totals
    double dFill = 0, dCut = 0;
};

struct Earthwork {
    std::vector<StationAreas> stations;   // in station order, each station once
    std::vector<VolumeStretch> stretches;  // between each two consecutive stations
    double dFill = 0, dCut = 0;            // the totals of the stretches counted
};

// Volumes by average end areas, V = (A1 + A2) / 2 · L, fill and cut apart,
// between stations consecutive in station order (given in any order; a
// station given twice counts once); a stretch with an end without areas
// has no volumes and is left out of the totals.
Earthwork Volumes(std::vector<StationAreas> stations);

// The sections of a run and, with the ground, what each met.
struct SectionRun {
    std::vector<CrossSection> sections;  // one per station asked, in its order
    std::vector<EarthSection> earth;     // one per section with the ground, else none
    Earthwork work;                      // with the ground
    // GBK, each once in the order met: the sections' messages, the catch
    // points missing, the stretches left out of the totals.
    std::vector<std::string> messages;
    bool bWhole = true;  // every section, and with the ground every catch point
};
// SectionAt at each station (which must lie on a usable road) and, with
// ground (sorted by station; nullptr: none), MeetGround with the section
// of the ground at it and the Volumes between them.
SectionRun RunSections(const Alignment& road, const SectionDesign& design, const std::vector<double>& stations,
                       const std::vector<GroundSection>* ground);

}  // namespace vexaline
