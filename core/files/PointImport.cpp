#include "core/files/PointImport.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/files/PointFile.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

constexpr int kMaxPoints = 100000;

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

}  // namespace

PointImport ImportPoints(const std::string& bytes, PointFormat format) {
    const bool dat = format == PointFormat::CassDat;
    const std::size_t need = dat ? 4 : 3, xAt = dat ? 3 : 1, yAt = 2;
    std::vector<GbkLine> lines = GbkLines(bytes);
    PointImport out;
    std::string why;
    int number = 0;
    for (const GbkLine& gbk : lines) {
        const std::string& line = gbk.text;
        ++number;
        if (gbk.ok && Trim(line).empty()) continue;
        std::vector<std::string> f = SplitFields(line);
        std::optional<double> x = f.size() >= need ? ParseNumber(f[xAt]) : std::nullopt;
        std::optional<double> y = f.size() >= need ? ParseNumber(f[yAt]) : std::nullopt;
        if (!dat && number == 1 && f.size() >= need && !x && !y) continue;  // a header row
        std::string point;
        if (!gbk.ok) why = text::kImportBadName;
        else if (f.size() < need) why = Format(text::kImportFieldCount, static_cast<int>(need));
        else if (!ValidGbkName(f[0])) why = text::kImportBadName;
        else if (!x || !y) why = text::kImportBadNumber;
        else if (!MakePointLine(f[0], *x, *y, point)) why = text::kImportTooWide;
        else if (out.lines.size() >= static_cast<std::size_t>(kMaxPoints)) why = Format(text::kImportTooMany, kMaxPoints);
        if (!why.empty()) {
            out.lines.clear();
            out.strMessage = Format(text::kImportBadLine, number, why.c_str());
            return out;
        }
        out.lines.push_back(point);
    }
    return out;
}

}  // namespace vexaline
