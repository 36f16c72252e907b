#include "core/files/PointCoordinates.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/files/CsvTable.h"
#include "core/files/PointFile.h"
#include "core/text/DmsText.h"
#include "core/text/FixedText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

using Place = PointCoordinates::Place;

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The number inside bytes [a, b): blanks and a pair of quotes around it left out.
Place Token(const std::string& bytes, std::size_t a, std::size_t b) {
    while (a < b && Blank(bytes[a])) ++a;
    while (b > a && Blank(bytes[b - 1])) --b;
    if (b - a >= 2 && bytes[a] == '"' && bytes[b - 1] == '"') ++a, --b;
    return Place{a, b - a, 0};
}

std::optional<double> Number(const std::string& text, CoordinateText notation) {
    const std::optional<double> v = notation == CoordinateText::Dms ? ReadDmsDegrees(text) : ParseNumber(text);
    if (notation == CoordinateText::Metres && v && !IsSurveyCoordinate(*v)) return std::nullopt;
    return v;
}

// Why the point is refused, or empty.
std::string Refusal(const std::optional<double>& x, const std::optional<double>& y, CoordinateText notation) {
    if (!x || !y) {
        if (notation == CoordinateText::Metres) return text::kImportBadNumber;
        return Format(text::kGridBadAngle, notation == CoordinateText::Dms ? text::kGridDms : text::kGridDegrees);
    }
    if (notation != CoordinateText::Metres && !(std::fabs(*x) <= 90)) return text::kGridLatitude;
    if (notation != CoordinateText::Metres && !(std::fabs(*y) <= 180)) return text::kGridLongitude;
    return std::string();
}

// The places of a line's X and Y, or why none: a .dat's north and east, a
// CSV's X and Y, a .vxp's fixed fields (X bytes 8-19, Y from 20 on).
struct LinePlaces {
    Place x, y;
    bool header = false;  // a CSV's title line or a .vxp's: passed over
    std::string why;
};

LinePlaces PlacesOf(const std::string& bytes, std::size_t start, std::size_t end, PointFormat format, int number) {
    LinePlaces l;
    if (format == PointFormat::Vxp) {
        const std::size_t nameEnd = std::min(end, start + 8), xEnd = std::min(end, start + 20);
        static const std::string title = TrimBlanks(PointHeader().substr(0, 8));
        l.header = number == 1 && TrimBlanks(bytes.substr(start, nameEnd - start)) == title;
        l.x = {nameEnd, xEnd - nameEnd, 12};
        l.y = {xEnd, end - xEnd, 10};
        return l;
    }
    std::vector<Place> fields;
    for (std::size_t at = start;;) {
        std::size_t comma = bytes.find(',', at);
        if (comma == std::string::npos || comma > end) comma = end;
        fields.push_back(Token(bytes, at, comma));
        if (comma == end) break;
        at = comma + 1;
    }
    const bool dat = format == PointFormat::CassDat;
    const std::size_t need = dat ? 4 : 3;
    if (fields.size() < need) {
        l.why = Format(text::kImportFieldCount, static_cast<int>(need));
        return l;
    }
    l.x = fields[dat ? 3 : 1];
    l.y = fields[2];
    return l;
}

}  // namespace

PointCoordinates ReadCoordinates(const std::string& bytes, PointFormat format, CoordinateText notation) {
    PointCoordinates read;
    if (format == PointFormat::Vxp && notation != CoordinateText::Metres) {
        read.strMessage = text::kPointsNoLatLon;
        return read;
    }
    const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    for (auto* v : {&read.xPlaces, &read.yPlaces}) v->reserve(lines);
    read.points.reserve(lines), read.lines.reserve(lines);
    std::size_t start = bytes.compare(0, 3, kUtf8Bom) == 0 ? 3 : 0;
    for (int number = 1; start < bytes.size(); ++number) {
        std::size_t next = bytes.find('\n', start);
        next = next == std::string::npos ? bytes.size() : next + 1;
        std::size_t end = next;
        while (end > start && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) --end;
        const std::size_t lineStart = start;
        start = next;
        if (Token(bytes, lineStart, end).length == 0) continue;  // a blank line
        const LinePlaces l = PlacesOf(bytes, lineStart, end, format, number);
        std::string why = l.why;
        if (why.empty() && !l.header) {
            const std::optional<double> x = Number(TrimBlanks(bytes.substr(l.x.at, l.x.length)), notation);
            const std::optional<double> y = Number(TrimBlanks(bytes.substr(l.y.at, l.y.length)), notation);
            // A CSV's first line with no number in either place is its header.
            if (!x && !y && number == 1 && format == PointFormat::Csv) continue;
            why = Refusal(x, y, notation);
            if (why.empty()) {
                read.points.emplace_back(*x, *y);
                read.lines.push_back(number);
                read.xPlaces.push_back(l.x);
                read.yPlaces.push_back(l.y);
            }
        }
        if (!why.empty()) {
            read = PointCoordinates();
            read.strMessage = Format(text::kImportBadLine, number, why.c_str());
            return read;
        }
    }
    return read;
}

PointRewrite RewriteCoordinates(const std::string& bytes, const PointCoordinates& read,
                                const std::vector<CPlanePoint>& points, CoordinateText notation) {
    PointRewrite out;
    out.bytes.reserve(bytes.size() + bytes.size() / 4);
    std::size_t copied = 0;
    std::string text;
    auto put = [&](const Place& place, double v) {
        text.clear();
        if (notation == CoordinateText::Metres) text = MillimetreText(v);
        else if (notation == CoordinateText::Dms) text = DmsDegreesText(v, 5);
        else AppendFixed(text, v, 10);
        if (!std::isfinite(v) || (place.width && text.size() > place.width)) return false;
        if (place.width) text.resize(place.width, ' ');
        out.bytes.append(bytes, copied, place.at - copied);
        out.bytes += text;
        copied = place.at + place.length;
        return true;
    };
    for (std::size_t i = 0; i < read.points.size() && i < points.size(); ++i) {
        // X stands before Y in a CSV and a .vxp, after it in a .dat.
        const bool xFirst = read.xPlaces[i].at < read.yPlaces[i].at;
        const bool ok = xFirst ? put(read.xPlaces[i], points[i].X) && put(read.yPlaces[i], points[i].Y)
                               : put(read.yPlaces[i], points[i].Y) && put(read.xPlaces[i], points[i].X);
        if (!ok) {
            out.bytes.clear();
            out.strMessage = Format(text::kImportBadLine, read.lines[i], text::kImportTooWide);
            return out;
        }
    }
    out.bytes.append(bytes, copied, std::string::npos);
    return out;
}

}  // namespace vexaline
