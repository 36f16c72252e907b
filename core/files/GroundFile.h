#pragma once
#include <string>
#include <vector>

#include "core/road/Chainage.h"
#include "core/road/Ground.h"

// Ground sections (*.hdm), the cross-section exchange file surveyors use: a
// line "BEGIN,<桩号>" (optionally ":<serial>", ignored) opens a section,
// then one line "offset,elevation" per ground point, offsets from the
// centreline, left negative. Read UTF-8 or GBK, CR LF or LF; written GBK
// (the text is ASCII), CR LF.
namespace vexaline {

inline constexpr int kMaxGroundSections = 100000;
inline constexpr int kMaxGroundPoints = 100000;  // of one section
inline constexpr double kMaxGroundOffset = 10000;  // metres

struct GroundFileRead {
    std::vector<GroundSection> sections;  // sorted by station
    std::string strMessage;               // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

// A file's bytes to sections, their 桩号 through the road's station
// equations (a 桩号 in a 长链 with its occurrence, "K0+365.000(2)"); the
// points of a section sorted by offset. Blank lines are skipped, blanks
// around a field allowed, "BEGIN" in any case. Refuses the whole file,
// naming the line (and the field): a point before the first BEGIN; a
// station that is no 桩号 or names no one place (DistanceOfTyped); a line
// of other than two fields; an offset or elevation that is no number
// (ParseNumber), an offset beyond ±kMaxGroundOffset or an elevation beyond
// any survey coordinate; a section of fewer than 2 points (its BEGIN line);
// an offset repeated in a section; a station twice (within half a
// millimetre); more than kMaxGroundSections sections or kMaxGroundPoints
// points in one.
GroundFileRead ReadGroundFile(const std::string& bytes, const Chainage& chain);

// The sections as a file: "BEGIN,K0+100.000:1" (KStationOf, the serial
// counting from 1), then "offset,elevation" per point, "%.3f", CR LF. A
// point whose offset rounds to the millimetre of the one before is written
// once, so that the file reads back.
std::string GroundFileText(const std::vector<GroundSection>& sections, const Chainage& chain);

}  // namespace vexaline
