#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/files/PointImport.h"
#include "core/geometry/PlanePoint.h"

// The coordinates of a point file (CASS .dat, CSV name,X,Y[,H], .vxp), to
// be carried to another grid and written back where they stood: names,
// codes, heights, the order of the lines, blank lines, a header, quotes,
// the encoding and the line ends all stay byte for byte.
namespace vexaline {

// How a coordinate is written: metres ("%.3f"), or latitude and longitude
// as D.MMSSsssss (seconds to 5 decimals, about 0.3 mm) or as decimal
// degrees (10 decimals, about 0.01 mm).
enum class CoordinateText { Metres, Dms, Degrees };

struct PointCoordinates {
    // Where one number stands in the file's bytes; width > 0 for a field
    // of fixed width (the .vxp's), which the new text is padded to.
    struct Place {
        std::size_t at = 0, length = 0, width = 0;
    };
    std::vector<CPlanePoint> points;  // X, Y (latitude, longitude) in file order
    std::vector<int> lines;           // the file line of each point, from 1
    std::vector<Place> xPlaces, yPlaces;
    std::string strMessage;           // UTF-8, "第n行：why"; empty when read
    bool Ok() const { return strMessage.empty(); }
};

// The points of a file's bytes. Lines end in LF or CR LF; blank lines, a
// CSV's header line (no number where X and Y stand) and a .vxp's title
// line are passed over; fields split at commas, blanks and a pair of
// quotes around a number left where they are. Latitudes and longitudes
// (Dms, Degrees) stand where X and Y stand: a .dat's north is the
// latitude, its east the longitude.
// Refuses the file (no points), naming the first bad line: too few fields,
// a coordinate that is no number in its notation (ParseNumber,
// ReadDmsDegrees) or no survey coordinate, a latitude beyond ±90° or a
// longitude beyond ±180°; and a .vxp for latitudes and longitudes.
PointCoordinates ReadCoordinates(const std::string& bytes, PointFormat format, CoordinateText text);

struct PointRewrite {
    std::string bytes;
    std::string strMessage;  // UTF-8, naming the line; empty when written
};

// The file's bytes with each point read by ReadCoordinates put in its
// place, one point of `points` for each, in `text`'s notation. Refuses,
// naming the line, a number that does not fit its .vxp field (X 12 bytes,
// Y 10) or is not finite.
PointRewrite RewriteCoordinates(const std::string& bytes, const PointCoordinates& read,
                                const std::vector<CPlanePoint>& points, CoordinateText text);

}  // namespace vexaline
