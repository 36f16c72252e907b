#pragma once
#include <string>
#include <vector>

// Traverse points from the files field controllers and spreadsheets write.
namespace vexaline {

enum class PointFormat {
    CassDat,  // name,code,east,north[,height] — east is Y, north is X
    Csv,      // name,X,Y
};

struct PointImport {
    std::vector<std::string> lines;  // point lines (PointFile.h), in file order
    std::string strMessage;          // UTF-8; empty when every line was taken
};

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
// point-file field, more than 100000 points.
PointImport ImportPoints(const std::string& bytes, PointFormat format);

}  // namespace vexaline
