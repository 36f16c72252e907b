#include "core/road/Alignment.h"

#include <algorithm>
#include <cmath>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

struct TypeTexts {
    std::string text[4] = {Gbk(text::kStraight), Gbk(text::kCircular), Gbk(text::kTransition), Gbk(text::kEndPoint)};
    std::string infinity = Gbk(text::kInfinity);
    std::string minusInfinity = Gbk(text::kMinusInfinity);
    std::string none;
};

const TypeTexts& Texts() {
    static const TypeTexts texts;
    return texts;
}

// What sscanf("%lf") reads, when it is finite.
std::optional<double> Number(const std::string& field) {
    double v;
    if (ReadDouble(field, v) && std::isfinite(v)) return v;
    return std::nullopt;
}

// A number within a survey coordinate's bound: 1e300 in an X field is no
// more a coordinate than "abc", nor in a station field a station, and would
// reach every writer as one.
std::optional<double> Bounded(const std::string& field) {
    std::optional<double> v = Number(field);
    if (v && !IsSurveyCoordinate(*v)) return std::nullopt;
    return v;
}

}  // namespace

LineType LineTypeOf(const std::string& gbk) {
    const TypeTexts& t = Texts();
    for (int i = 0; i < 4; ++i)
        if (gbk == t.text[i]) return static_cast<LineType>(i);
    return LineType::Invalid;
}

const std::string& LineTypeText(LineType type) {
    const int i = static_cast<int>(type);
    return i >= 0 && i < 4 ? Texts().text[i] : Texts().none;
}

ChangePoint ParseChangePoint(const std::string& line) {
    ChangePoint p;
    std::string(&f)[kControlFieldCount] = p.text.strField;
    for (int i = 0; i < kControlFieldCount; ++i) {  // SplitControlLine, in place: this runs per evaluation
        const std::size_t at = static_cast<std::size_t>(kControlLayout[i].nOffset);
        if (at >= line.size()) continue;
        f[i].assign(line, at, static_cast<std::size_t>(kControlLayout[i].nWidth));
        const std::size_t end = f[i].find_last_not_of(' ');
        f[i].resize(end == std::string::npos ? 0 : end + 1);
    }
    p.station = Bounded(f[kFieldStation]);
    p.type = LineTypeOf(f[kFieldLineType]);
    if (f[kFieldRadius] == Texts().infinity || f[kFieldRadius] == Texts().minusInfinity) {
        p.radius = INFINITE_RADIUS;
        p.turn = f[kFieldRadius] == Texts().minusInfinity ? Turn::Left : Turn::Right;
    } else if (std::optional<double> r = Number(f[kFieldRadius])) {
        p.radius = *r < 0 ? -*r : *r;
        p.turn = *r < 0 ? Turn::Left : Turn::Right;
    }
    p.x = Bounded(f[kFieldX]);
    p.y = Bounded(f[kFieldY]);
    return p;
}

ElementRequest Element::Request() const {
    ElementRequest q{};
    switch (type) {
    case LineType::Straight: q.nLineType = 0; break;
    case LineType::Circular: q.nLineType = 1; break;
    case LineType::Transition: q.nLineType = 2; break;
    default: q.nLineType = -1; break;
    }
    q.nTurn = turn == Turn::Left ? -1 : 1;
    q.dStartStation = dStartStation;
    q.ptStart = ptStart;
    q.dStartRadius = dStartRadius;
    q.dEndStation = dEndStation;
    q.ptEnd = ptEnd;
    q.dEndRadius = dEndRadius;
    return q;
}

Element MakeElement(const ChangePoint& start, const ChangePoint& end, int startRow, int endRow) {
    Element e;
    e.nStartRow = startRow;
    e.nEndRow = endRow;
    e.type = start.type;
    e.turn = start.turn;
    e.strStartStation = start.text.strField[kFieldStation];
    e.dStartStation = start.station.value_or(0);
    e.dEndStation = end.station.value_or(0);
    e.ptStart = start.Point();
    e.ptEnd = end.Point();
    e.dStartRadius = start.radius.value_or(0);
    e.dEndRadius = end.radius.value_or(0);
    // The checks in the order the evaluation has always made them: numbers
    // first, then the line type, then a transition's two radii.
    if (!start.station || !start.radius || !start.HasPoint() || !end.station || !end.radius || !end.HasPoint())
        e.fault = ElementFault::NotANumber;
    else if (e.type != LineType::Straight && e.type != LineType::Circular && e.type != LineType::Transition)
        e.fault = ElementFault::InvalidLineType;
    else if (e.type == LineType::Transition && e.dEndRadius == e.dStartRadius)
        e.fault = ElementFault::RadiusMismatch;
    return e;
}

// A station field as a 桩号: the number as the rows read it, and an
// occurrence "(n)" after it.
static std::optional<ChainStation> RowChainStation(const std::string& field) {
    const std::size_t open = field.rfind('(');
    if (field.empty() || field.back() != ')' || open == std::string::npos) {
        const std::optional<double> v = Bounded(field);
        return v ? std::optional<ChainStation>(ChainStation{*v, 0}) : std::nullopt;
    }
    const std::optional<ChainStation> n = ParseChainStation("0" + field.substr(open));
    const std::optional<double> v = Bounded(field.substr(0, open));
    return n && v ? std::optional<ChainStation>(ChainStation{*v, n->nOccurrence}) : std::nullopt;
}

ChangePoint ParseChangePoint(const std::string& line, const Chainage& chain) {
    ChangePoint p = ParseChangePoint(line);
    const std::string& field = p.text.strField[kFieldStation];
    if (chain.Empty()) {
        // Read as a distance, "369.780(1)" would put the row where its 桩号 is not.
        if (!field.empty() && field.back() == ')') {
            const std::optional<ChainStation> s = RowChainStation(field);
            if (s && s->nOccurrence != 0) p.station.reset(), p.bOccurrenceWithoutTable = true;
        }
        return p;
    }
    const std::optional<ChainStation> s = RowChainStation(field);
    p.station.reset();
    if (!s) return p;
    const ChainDistance d = chain.Distance(*s);
    p.chainFault = d.fault;
    if (d.fault == ChainFault::None) p.station = d.dDistance;
    return p;
}

Alignment Alignment::Parse(const std::vector<std::string>& controlList, const Chainage& chain) {
    Alignment a;
    a.chain_ = chain;
    if (controlList.size() > 1) a.rows_.reserve(controlList.size() - 1);
    for (std::size_t i = 1; i < controlList.size(); ++i) {
        a.rows_.push_back(ParseChangePoint(controlList[i], chain));
        if (!a.rows_.back().station && a.badStationRow_ == 0) a.badStationRow_ = static_cast<int>(i);
    }
    if (a.badStationRow_ != 0 || a.rows_.size() < 2) return a;

    // Station order; a stable sort keeps equal stations in list order.
    std::vector<int> order(a.rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&a](int l, int r) { return *a.rows_[l].station < *a.rows_[r].station; });
    a.min_ = *a.rows_[order.front()].station;
    a.max_ = *a.rows_[order.back()].station;
    a.chainMessage_ = a.chain_.SetEnds(a.min_, a.max_);
    a.elements_.reserve(order.size() - 1);
    a.geometry_.reserve(order.size() - 1);
    for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        a.elements_.push_back(MakeElement(a.rows_[order[k]], a.rows_[order[k + 1]], order[k] + 1, order[k + 1] + 1));
        const Element& e = a.elements_.back();
        a.geometry_.push_back(e.fault == ElementFault::None ? ElementGeometry(e.Request()) : ElementGeometry());
    }
    return a;
}

std::string Alignment::StationRefusal() const {
    if (badStationRow_ == 0) return std::string();
    const ChangePoint& p = rows_[static_cast<std::size_t>(badStationRow_ - 1)];
    const std::string& typed = p.text.strField[kFieldStation];
    if (p.bOccurrenceWithoutTable)
        return Format(text::kChainRowStation, badStationRow_) +
               Format(text::kChainOccurrenceWithoutTable, GbkToUtf8(typed).c_str());
    if (p.chainFault == ChainFault::None) return Format(text::kBadStationLine, badStationRow_);
    const ChainDistance d = chain_.Distance(*RowChainStation(typed));
    return Format(text::kChainRowStation, badStationRow_) + ChainRefusal(d, GbkToUtf8(typed));
}

std::size_t Alignment::ElementAt(double station) const {
    const std::size_t n = elements_.size();
    if (n <= 1 || station == min_) return 0;
    if (station == max_) return n - 1;
    // The first row after the first whose station is strictly greater than
    // s: the element it ends.
    auto it = std::upper_bound(elements_.begin(), elements_.end(), station,
                               [](double s, const Element& e) { return s < e.dEndStation; });
    if (it == elements_.end()) return n - 1;  // beyond the last: callers refuse it
    return static_cast<std::size_t>(it - elements_.begin());
}

Stake Alignment::At(std::size_t e, double station, double offset, double deflection) const {
    const Element& element = elements_[e];
    if (element.fault != ElementFault::None) return Stake{station, element.ptStart, 0.0};
    const StakePoint p = geometry_[e].At(station, offset, deflection);
    return Stake{station, CPlanePoint(p.dX, p.dY), p.dAzimuth};
}

}  // namespace vexaline
