#include "core/road/SectionTemplate.h"

#include <cmath>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

using text::kTemplateColumns;
enum Column { kSide, kName, kWidth, kSlope, kRatio, kBermHeight, kBermWidth };

const std::string& FieldOf(const TemplateRow& r, int column) {
    const std::string* f[7] = {&r.strSide, &r.strName, &r.strWidth, &r.strSlope,
                               &r.strRatio, &r.strBermHeight, &r.strBermWidth};
    return *f[column];
}

bool NameAllowed(const std::string& name) {
    std::string gbk;
    if (name.empty() || !Utf8ToGbk(name, gbk) || gbk.size() > kMaxSectionNameBytes) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == ',' || c == '"') return false;
    return true;
}

// Reads one number field of a row, in (low, high] or [low, high] as closedLow says.
struct NumberField {
    const TemplateRow& row;
    std::string& message;

    std::optional<double> Read(int column, double low, bool closedLow, double high, const char* range) {
        const std::string typed = TrimBlanks(FieldOf(row, column));
        const std::optional<double> v = ParseNumber(typed);
        if (!v) message = Format(text::kTemplateNotANumber, row.nLine, kTemplateColumns[column], typed.c_str());
        else if (!(closedLow ? *v >= low : *v > low) || !(*v <= high))
            message = Format(text::kTemplateOutOfRange, row.nLine, kTemplateColumns[column], typed.c_str(), range);
        return message.empty() ? v : std::nullopt;
    }
};

// The first of columns that is filled, or -1.
int FirstFilled(const TemplateRow& row, std::initializer_list<int> columns) {
    for (int c : columns)
        if (!TrimBlanks(FieldOf(row, c)).empty()) return c;
    return -1;
}

std::string SurfaceRow(const TemplateRow& row, TemplateSide& side, const char* sideText) {
    if (side.fill || side.cut) {
        const int slopeLine = side.fill && side.cut ? std::min(side.fill->nLine, side.cut->nLine)
                              : side.fill           ? side.fill->nLine
                                                    : side.cut->nLine;
        return Format(text::kTemplateAfterSlope, row.nLine, sideText, slopeLine);
    }
    const int filled = FirstFilled(row, {kRatio, kBermHeight, kBermWidth});
    if (filled >= 0)
        return Format(text::kTemplateMustBeEmpty, row.nLine, text::kTemplateSurfaceRow, kTemplateColumns[filled]);
    std::string message;
    NumberField field{row, message};
    SurfaceElement e{row.nLine, TrimBlanks(row.strName), 0, false, 0};
    const std::optional<double> width = field.Read(kWidth, 0, false, kMaxElementWidth, "0～100米，不含0");
    if (!width) return message;
    e.dWidth = *width;
    e.bCrown = TrimBlanks(row.strSlope) == text::kTemplateCrown;
    if (!e.bCrown) {
        const std::optional<double> fall = field.Read(kSlope, -kMaxCrossFall, true, kMaxCrossFall, "±100%，或“路拱”");
        if (!fall) return message;
        e.dCrossFall = *fall;
    }
    side.surface.push_back(e);
    return std::string();
}

std::string SlopeRow(const TemplateRow& row, SideSlopeKind kind, TemplateSide& side) {
    // A second of its kind on the side is refused by its name, used twice.
    std::optional<SideSlope>& slot = kind == SideSlopeKind::Fill ? side.fill : side.cut;
    const int filled = FirstFilled(row, {kWidth, kSlope});
    if (filled >= 0) return Format(text::kTemplateMustBeEmpty, row.nLine, text::kTemplateSlopeRow, kTemplateColumns[filled]);
    if (FirstFilled(row, {kRatio}) < 0) return Format(text::kTemplateMissing, row.nLine, kTemplateColumns[kRatio]);
    std::string message;
    NumberField field{row, message};
    SideSlope s{row.nLine, kind, 0, 0, 0};
    const std::optional<double> ratio = field.Read(kRatio, 0, false, kMaxSlopeRatio, "0～1000，不含0");
    if (!ratio) return message;
    s.dRatio = *ratio;
    const bool height = FirstFilled(row, {kBermHeight}) >= 0, width = FirstFilled(row, {kBermWidth}) >= 0;
    if (height != width) return Format(text::kTemplateHalfBerm, row.nLine);
    if (height) {
        const std::optional<double> h = field.Read(kBermHeight, 0, false, kMaxElementWidth, "0～100米，不含0");
        const std::optional<double> b = h ? field.Read(kBermWidth, 0, true, kMaxElementWidth, "0～100米") : h;
        if (!b) return message;
        s.dBermHeight = *h, s.dBermWidth = *b;
    }
    slot = s;
    return std::string();
}

// Row r into the template; the message of its fault, or empty.
std::string AddRow(const std::vector<TemplateRow>& rows, std::size_t r, SectionTemplate& t) {
    const TemplateRow& row = rows[r];
    const std::string side = TrimBlanks(row.strSide), name = TrimBlanks(row.strName);
    const bool left = side == text::kTemplateLeft;
    if (!left && side != text::kTemplateRight) return Format(text::kTemplateBadSide, row.nLine, side.c_str());
    if (!NameAllowed(name)) return Format(text::kTemplateBadName, row.nLine, name.c_str());
    for (std::size_t k = 0; k < r; ++k)
        if (TrimBlanks(rows[k].strSide) == side && TrimBlanks(rows[k].strName) == name)
            return Format(text::kTemplateNameTwice, row.nLine, name.c_str(), side.c_str(), rows[k].nLine);
    TemplateSide& into = left ? t.left : t.right;
    if (name == text::kTemplateFill) return SlopeRow(row, SideSlopeKind::Fill, into);
    if (name == text::kTemplateCut) return SlopeRow(row, SideSlopeKind::Cut, into);
    return SurfaceRow(row, into, side.c_str());
}

}  // namespace

int SectionTemplate::FirstCrownLine() const {
    int line = 0;
    for (const TemplateSide* s : {&left, &right})
        for (const SurfaceElement& e : s->surface)
            if (e.bCrown && (line == 0 || e.nLine < line)) line = e.nLine;
    return line;
}

TemplateBuild BuildTemplate(const std::vector<TemplateRow>& rows) {
    TemplateBuild b;
    if (rows.size() > static_cast<std::size_t>(kMaxTemplateRows))
        return TemplateBuild{Format(text::kTemplateTooMany, kMaxTemplateRows), {}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string message = AddRow(rows, r, b.value);
        if (!message.empty()) return TemplateBuild{message, {}};
    }
    if (b.value.left.surface.empty() && b.value.right.surface.empty())
        return TemplateBuild{text::kTemplateNoSurface, {}};
    return b;
}

std::string CrownRefusal(const SectionTemplate& tmpl) {
    const int line = tmpl.FirstCrownLine();
    return line ? Format(text::kTemplateCrownNoSlopes, line) : std::string();
}

WideningBuild BuildWidening(std::vector<WideningRow> rows, const Chainage& chain) {
    if (rows.size() > static_cast<std::size_t>(kMaxWideningRows))
        return WideningBuild{Format(text::kWideningTooMany, kMaxWideningRows), {}};
    WideningBuild b;
    for (WideningRow& row : rows) {
        const std::string off = StationFieldToDistance(chain, row.strStation);
        if (!off.empty()) return WideningBuild{Format(text::kChainWideningRow, row.nLine) + off, {}};
        const std::string* fields[3] = {&row.strStation, &row.strLeft, &row.strRight};
        double v[3] = {0, 0, 0};
        for (int f = 0; f < 3; ++f) {
            const std::string typed = TrimBlanks(*fields[f]);
            const std::optional<double> n = ParseNumber(typed);
            if (!n) return WideningBuild{Format(text::kWideningNotANumber, row.nLine, text::kWideningColumns[f], typed.c_str()), {}};
            if (f > 0 && !(*n >= 0 && *n <= kMaxWidening))
                return WideningBuild{Format(text::kWideningOutOfRange, row.nLine, text::kWideningColumns[f], typed.c_str(), kMaxWidening), {}};
            v[f] = *n;
        }
        std::vector<SlopePoint>& points = b.value.table.points;
        if (!points.empty() && !(v[0] > points.back().dStation))
            return WideningBuild{Format(text::kWideningNotIncreasing, row.nLine), {}};
        points.push_back(SlopePoint{v[0], v[1], v[2]});
        b.value.lines.push_back(row.nLine);
    }
    return b;
}

std::string WideningRefusal(const SectionTemplate& tmpl, const Widening& widening) {
    const std::vector<SlopePoint>& points = widening.table.points;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (points[k].dLeft > 0 && tmpl.left.surface.empty())
            return Format(text::kWideningNoSurface, widening.lines[k], text::kTemplateLeft, text::kTemplateLeft);
        if (points[k].dRight > 0 && tmpl.right.surface.empty())
            return Format(text::kWideningNoSurface, widening.lines[k], text::kTemplateRight, text::kTemplateRight);
    }
    return std::string();
}

}  // namespace vexaline
