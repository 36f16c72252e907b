#include "core/files/GroundFile.h"

#include <algorithm>
#include <cmath>

#include "core/files/CsvTable.h"
#include "core/geometry/PlanePoint.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// A point as read, with its line for the messages.
struct ReadPoint {
    GroundPoint point;
    int nLine = 0;
};

struct OpenSection {
    GroundSection section;
    std::string strStation;  // as typed
    int nLine = 0;           // of its BEGIN
    std::vector<ReadPoint> points;
};

std::string LineMessage(int line, const std::string& why) { return Format(text::kGroundFileLine, line) + why; }

// The station of "BEGIN,<桩号>[:<serial>]"; the message of the fault, or empty.
std::string Begin(const std::string& rest, int line, const Chainage& chain, OpenSection& s) {
    std::string typed = TrimBlanks(rest);
    if (typed.empty() || typed[0] != ',') return LineMessage(line, text::kGroundNoBegin);
    const std::size_t serial = typed.find(':');
    typed = TrimBlanks(typed.substr(1, serial == std::string::npos ? std::string::npos : serial - 1));
    const TypedStation d = DistanceOfTyped(chain, typed);
    if (!d.Ok()) return LineMessage(line, d.strMessage);
    s = OpenSection{};
    s.section.dStation = d.dDistance, s.strStation = typed, s.nLine = line;
    return std::string();
}

std::string Point(const std::string& line, int number, OpenSection& s) {
    std::vector<std::string> fields;
    for (std::size_t at = 0;;) {
        const std::size_t comma = line.find(',', at);
        fields.push_back(TrimBlanks(line.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    while (fields.size() > 2 && fields.back().empty()) fields.pop_back();
    if (fields.size() != 2) return LineMessage(number, text::kGroundFieldCount);
    double v[2];
    for (int k = 0; k < 2; ++k) {
        const std::optional<double> n = ParseNumber(fields[k]);
        if (!n) return LineMessage(number, Format(text::kGroundNotANumber, text::kGroundColumns[k], fields[k].c_str()));
        if (k == 0 ? !(std::fabs(*n) <= kMaxGroundOffset) : !IsSurveyCoordinate(*n))
            return LineMessage(number, Format(text::kGroundOutOfRange, text::kGroundColumns[k], fields[k].c_str()));
        v[k] = *n;
    }
    if (s.points.size() >= static_cast<std::size_t>(kMaxGroundPoints))
        return LineMessage(number, Format(text::kGroundTooMany, kMaxGroundSections, kMaxGroundPoints));
    s.points.push_back({{v[0], v[1]}, number});
    return std::string();
}

// The section's points sorted and checked into it; the message of the fault, or empty.
std::string Close(OpenSection& s, std::vector<OpenSection>& done) {
    if (s.points.size() < 2)
        return LineMessage(s.nLine, Format(text::kGroundTooFew, s.strStation.c_str(), s.points.size()));
    std::stable_sort(s.points.begin(), s.points.end(),
                     [](const ReadPoint& a, const ReadPoint& b) { return a.point.dOffset < b.point.dOffset; });
    for (std::size_t k = 1; k < s.points.size(); ++k) {
        const ReadPoint &a = s.points[k - 1], &b = s.points[k];
        if (b.point.dOffset == a.point.dOffset) {
            const ReadPoint& later = a.nLine > b.nLine ? a : b;
            return LineMessage(later.nLine, Format(text::kGroundOffsetTwice, MillimetreText(a.point.dOffset).c_str(),
                                                   std::min(a.nLine, b.nLine)));
        }
    }
    for (const ReadPoint& p : s.points) s.section.points.push_back(p.point);
    done.push_back(std::move(s));
    return std::string();
}

// The text as UTF-8 lines: a byte order mark dropped, GBK converted.
std::vector<std::string> Lines(const std::string& bytes) {
    std::string utf8 = bytes.compare(0, 3, kUtf8Bom) == 0 ? bytes.substr(3) : bytes;
    if (!IsUtf8(utf8)) utf8 = Gb18030ToUtf8(utf8);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t lf = std::min(utf8.find('\n', at), utf8.size());
        lines.push_back(utf8.substr(at, lf - at));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        at = lf + 1;
    }
    return lines;
}

bool IsBegin(const std::string& line) {
    static const char kBegin[] = "BEGIN";
    if (line.size() < 5) return false;
    for (int k = 0; k < 5; ++k)
        if ((line[static_cast<std::size_t>(k)] & ~0x20) != kBegin[k]) return false;
    return true;
}

std::string ReadSections(const std::string& bytes, const Chainage& chain, std::vector<OpenSection>& done) {
    OpenSection open;
    int number = 0;
    for (const std::string& raw : Lines(bytes)) {
        ++number;
        const std::string line = TrimBlanks(raw);
        if (line.empty()) continue;
        std::string why;
        if (IsBegin(line)) {
            if (open.nLine) why = Close(open, done);
            if (why.empty() && done.size() >= static_cast<std::size_t>(kMaxGroundSections))
                why = LineMessage(number, Format(text::kGroundTooMany, kMaxGroundSections, kMaxGroundPoints));
            if (why.empty()) why = Begin(line.substr(5), number, chain, open);
        } else {
            why = open.nLine ? Point(line, number, open) : LineMessage(number, text::kGroundNoBegin);
        }
        if (!why.empty()) return why;
    }
    return open.nLine ? Close(open, done) : std::string();
}

}  // namespace

GroundFileRead ReadGroundFile(const std::string& bytes, const Chainage& chain) {
    GroundFileRead read;
    std::vector<OpenSection> done;
    read.strMessage = ReadSections(bytes, chain, done);
    if (!read.Ok()) return read;
    std::stable_sort(done.begin(), done.end(), [](const OpenSection& a, const OpenSection& b) {
        return a.section.dStation < b.section.dStation;
    });
    for (std::size_t k = 1; k < done.size(); ++k) {
        const OpenSection &a = done[k - 1], &b = done[k];
        if (b.section.dStation - a.section.dStation < 0.0005) {
            const OpenSection& later = a.nLine > b.nLine ? a : b;
            read.strMessage = LineMessage(later.nLine, Format(text::kGroundStationTwice, later.strStation.c_str(),
                                                              std::min(a.nLine, b.nLine)));
            return read;
        }
    }
    for (OpenSection& s : done) read.sections.push_back(std::move(s.section));
    return read;
}

std::string GroundFileText(const std::vector<GroundSection>& sections, const Chainage& chain) {
    std::string out;
    int serial = 0;
    for (const GroundSection& s : sections) {
        out += "BEGIN," + KStationOf(chain, s.dStation) + ":" + std::to_string(++serial) + "\r\n";
        std::string last;
        for (const GroundPoint& p : s.points) {
            std::string offset = MillimetreText(p.dOffset);
            if (offset == last) continue;
            out += offset + "," + MillimetreText(p.dElevation) + "\r\n";
            last = std::move(offset);
        }
    }
    return out;
}

}  // namespace vexaline
