#pragma once
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Ground.h"
#include "core/road/Inspect.h"
#include "core/road/Section.h"

// Cross-sections a crew measured across the road (横断面测量): points with
// X, Y, H taken at each station, grouped into the ground sections of the
// stations asked for by where the reverse lookup places them.
namespace vexaline {

struct CrewSections {
    std::vector<GroundSection> sections;  // the stations with two points or more, in the lines' order
    std::vector<std::string> messages;    // UTF-8: each point left out and each station without a section, why
    // The point furthest off the line of the section it went to, and how far
    // (metres, square to that line); empty name when no point went to one.
    std::string strFurthest;  // GBK, as read
    double dFurthest = 0;
    double dFurthestStation = 0;
};

// Each point is placed by ReverseLookup (road.Usable()); it goes to the
// line with the nearest station when its distance off that line is at most
// band, at its offset along the line (exact, where the lookup's is to the
// millimetre; on a curve it differs from the lookup's by a millimetre or
// two at most within half a metre of the line); a station of the lines
// whose section gets fewer than two points has none. lines: in station order (SectionLineAt,
// no messages). Left out and named: a point without height, one the
// lookup cannot place, one further than band off every line, one within a
// millimetre of the offset of another in its section (a vertical face is
// no ground line: the one measured first is kept).
CrewSections GroupCrewPoints(const Alignment& road, const std::vector<MeasuredPoint>& points,
                             const std::vector<SectionLine>& lines, double band);

}  // namespace vexaline
