#include "core/files/PointImport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/files/FileType.h"
#include "core/files/PointFile.h"
#include "core/geometry/PlanePoint.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

std::string Trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    if (a == std::string::npos) return std::string();
    std::string t = s.substr(a, b - a + 1);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        std::size_t comma = line.find(',', at);
        fields.push_back(Trim(line.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos) return fields;
        at = comma + 1;
    }
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t lf = bytes.find('\n', at);
        std::size_t end = lf == std::string::npos ? bytes.size() : lf;
        std::size_t cut = end;
        if (cut > at && bytes[cut - 1] == '\r') --cut;
        lines.push_back(bytes.substr(at, cut - at));
        at = end + 1;
    }
    return lines;
}

// The file's lines as GBK: UTF-8 (with or without its mark) converted, GBK
// kept. ok is false for a line of a marked file that GBK cannot hold.
struct GbkLine {
    std::string text;
    bool ok = true;
};

std::vector<GbkLine> GbkLines(const std::string& bytes) {
    static const std::string kBom = "\xEF\xBB\xBF";
    const bool bom = bytes.compare(0, kBom.size(), kBom) == 0;
    std::string all;
    const bool utf8 = !bom && Utf8ToGbk(bytes, all);
    std::vector<GbkLine> lines;
    for (const std::string& line : SplitLines(bom ? bytes.substr(kBom.size()) : utf8 ? all : bytes)) {
        GbkLine g;
        g.text = line;
        if (bom) g.ok = Utf8ToGbk(line, g.text);
        lines.push_back(g);
    }
    return lines;
}

bool ValidGbkName(const std::string& name) {
    std::string back;
    return !name.empty() && name.size() <= 8 && Utf8ToGbk(GbkToUtf8(name), back) && back == name;
}

// Each point row of the file, its name checked by nameWhy(name) and its
// fields handed to take(fields, x, y); each gives why the line is refused
// or an empty text. The numbering of lines, the header row of a CSV and the
// refusal are the same for every reader: the first refused line's
// message, or an empty text.
template <class NameWhy, class Take>
std::string EachPointRow(const std::string& bytes, PointFormat format, NameWhy nameWhy, Take take) {
    const bool dat = format == PointFormat::CassDat;
    const std::size_t need = dat ? 4 : 3, xAt = dat ? 3 : 1, yAt = 2;
    int number = 0;
    for (const GbkLine& gbk : GbkLines(bytes)) {
        const std::string& line = gbk.text;
        ++number;
        if (gbk.ok && Trim(line).empty()) continue;
        std::vector<std::string> f = SplitFields(line);
        std::optional<double> x = f.size() >= need ? ParseNumber(f[xAt]) : std::nullopt;
        std::optional<double> y = f.size() >= need ? ParseNumber(f[yAt]) : std::nullopt;
        if (!dat && number == 1 && f.size() >= need && !x && !y) continue;  // a header row
        std::string why;
        if (!gbk.ok) why = text::kImportBadName;
        else if (f.size() < need) why = Format(text::kImportFieldCount, static_cast<int>(need));
        else if (std::string bad = nameWhy(f[0]); !bad.empty()) why = bad;
        else if (!x || !y) why = text::kImportBadNumber;
        else why = take(f, *x, *y);
        if (!why.empty()) return Format(text::kImportBadLine, number, why.c_str());
    }
    return {};
}

// The same for a traverse point file: the header line skipped, each line
// its name (bytes 0-7), X (8-19) and Y (20 on).
template <class NameWhy, class Take>
std::string EachVxpRow(const std::string& bytes, NameWhy nameWhy, Take take) {
    const std::string header = Trim(PointHeader().substr(0, 8));
    int number = 0;
    for (std::string line : SplitLines(bytes)) {
        ++number;
        while (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string name = Trim(line.substr(0, 8));
        if (Trim(line).empty() || (number == 1 && name == header)) continue;
        const std::optional<double> x = ParseNumber(Trim(line.substr(std::min<std::size_t>(8, line.size()), 12)));
        const std::optional<double> y = ParseNumber(Trim(line.substr(std::min<std::size_t>(20, line.size()))));
        std::string why = nameWhy(name);
        if (why.empty())
            why = !x || !y ? std::string(text::kImportBadNumber) : take(std::vector<std::string>{name}, *x, *y);
        if (!why.empty()) return Format(text::kImportBadLine, number, why.c_str());
    }
    return {};
}

}  // namespace

PointImport ImportPoints(const std::string& bytes, PointFormat format) {
    PointImport out;
    auto nameWhy = [](const std::string& name) { return std::string(ValidGbkName(name) ? "" : text::kImportBadName); };
    out.strMessage = EachPointRow(bytes, format, nameWhy, [&](const std::vector<std::string>& f, double x, double y) {
        std::string point;
        if (!MakePointLine(f[0], x, y, point)) return std::string(text::kImportTooWide);
        if (out.lines.size() >= static_cast<std::size_t>(kMaxImportPoints))
            return Format(text::kImportTooMany, kMaxImportPoints);
        out.lines.push_back(point);
        return std::string();
    });
    if (!out.strMessage.empty()) out.lines.clear();
    return out;
}

MeasuredImport ImportMeasuredPoints(const std::string& bytes, PointFormat format, int maxPoints) {
    MeasuredImport out;
    const std::size_t hAt = format == PointFormat::CassDat ? 4 : 3;
    auto take = [&](const std::vector<std::string>& f, double x, double y) {
        MeasuredPoint p{f[0], x, y, std::nullopt};
        if (!IsSurveyCoordinate(x) || !IsSurveyCoordinate(y)) return std::string(text::kImportBadNumber);
        if (f.size() > hAt && !f[hAt].empty()) {
            p.height = ParseNumber(f[hAt]);
            if (!p.height || !IsSurveyCoordinate(*p.height)) return std::string(text::kMeasuredBadHeight);
        }
        if (out.points.size() >= static_cast<std::size_t>(maxPoints)) return Format(text::kImportTooMany, maxPoints);
        out.points.push_back(p);
        return std::string();
    };
    auto nameWhy = [](const std::string& name) {
        if (name.empty()) return std::string(text::kImportBadName);
        return std::string(name.size() > kMaxMeasuredName ? text::kMeasuredLongName : "");
    };
    out.strMessage = format == PointFormat::Vxp ? EachVxpRow(bytes, nameWhy, take)
                                                : EachPointRow(bytes, format, nameWhy, take);
    if (!out.strMessage.empty()) out.points.clear();
    return out;
}

PointFormat MeasuredFormatOf(const std::string& name) {
    const std::string extension = ExtensionOf(name);
    return extension == "dat" ? PointFormat::CassDat : extension == "vxp" ? PointFormat::Vxp : PointFormat::Csv;
}

}  // namespace vexaline
