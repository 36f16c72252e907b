#pragma once
#include <string>
#include <vector>

#include "core/road/Inspect.h"

// Traverse points from the files field controllers and spreadsheets write.
namespace vexaline {

enum class PointFormat {
    CassDat,  // name,code,east,north[,height] — east is Y, north is X
    Csv,      // name,X,Y[,H]
    Vxp,      // the traverse point file (PointFile.h): no heights
};

struct PointImport {
    std::vector<std::string> lines;  // point lines (PointFile.h), in file order
    std::string strMessage;          // UTF-8; empty when every line was taken
};

inline constexpr int kMaxImportPoints = 100000;

// The point lines of a file's bytes.
//
// Accepts lines ending in LF or CR LF; blank lines are skipped; fields are
// split at ASCII commas, blanks and a pair of double quotes around a field
// removed; extra fields after the ones read are ignored. A CSV whose first
// line holds no number where X and Y stand is a header and skipped. Text
// with a UTF-8 byte order mark, or that is valid UTF-8, is taken as UTF-8;
// anything else as GBK (what Chinese spreadsheets and controllers write).
// Coordinates are kept to the millimetre, as the point file keeps them.
//
// Refuses the whole file (no lines, message "第n行：why" naming the first
// bad line, counted from 1): too few fields, an empty name or one over 8
// GBK bytes, a coordinate that is not a finite number or is wider than its
// point-file field, more than kMaxImportPoints points.
// format: CassDat or Csv (a Vxp is read as Csv).
PointImport ImportPoints(const std::string& bytes, PointFormat format);

// Measured points with their heights, for the inspection (Inspect.h).
struct MeasuredImport {
    std::vector<MeasuredPoint> points;  // in file order
    std::string strMessage;             // UTF-8; empty when every line was taken
    bool Ok() const { return strMessage.empty(); }
};

inline constexpr std::size_t kMaxMeasuredName = 40;  // GBK bytes

// The measured points of a file's bytes: CASS .dat "name,code,east,north,
// height", CSV "name,X,Y,H" read as ImportPoints reads them (lines, fields,
// encodings, a CSV header), or a .vxp as ParsePointFile keeps it. The
// height is optional: a missing or empty field is a point without height.
// A name may be up to kMaxMeasuredName bytes (stake names are longer than
// a point file's 8), coordinates any survey coordinate (8-digit eastings).
// Refuses the whole file as ImportPoints does (more than maxPoints points
// instead of its kMaxImportPoints), and for a name too long, a coordinate beyond
// kMaxCoordinate, or a height field that holds no number.
MeasuredImport ImportMeasuredPoints(const std::string& bytes, PointFormat format, int maxPoints = kMaxImportPoints);

// The format a measured file's name asks for: .dat CASS, .vxp the point
// file, anything else CSV (case ignored).
PointFormat MeasuredFormatOf(const std::string& name);

}  // namespace vexaline
