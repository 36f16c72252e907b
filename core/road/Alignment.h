#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"
#include "core/road/Chainage.h"
#include "core/text/ControlLine.h"

// The road as typed values: the control rows parsed once into change points,
// and the elements between consecutive change points in station order.
//
// Conventions: X north, Y east, metres; azimuths clockwise from north in
// [0, 2π); a radius is held as its magnitude (INFINITE_RADIUS for "∞" and
// "-∞") with the turn apart (a negative radius or "-∞" turns left).
namespace vexaline {

enum class LineType { Straight, Circular, Transition, EndPoint, Invalid };
enum class Turn { Right, Left };

// The line type of its text ("直线", "圆曲线", "缓和曲线", "终点", GBK);
// anything else is Invalid. And back: the GBK text (empty for Invalid).
LineType LineTypeOf(const std::string& gbk);
const std::string& LineTypeText(LineType type);

// One control row. A number field that holds no finite number (what
// sscanf("%lf") reads; "nan" and "inf" are no measurement) is empty, and so
// is a station, X or Y beyond a survey coordinate's bound (IsSurveyCoordinate).
struct ChangePoint {
    ControlRow text;  // the five fields as typed, GBK, trailing blanks removed
    std::optional<double> station;
    LineType type = LineType::Invalid;
    std::optional<double> radius;  // magnitude; INFINITE_RADIUS for "∞" and "-∞"
    Turn turn = Turn::Right;
    std::optional<double> x;
    std::optional<double> y;
    // On a road with station equations the station field is a 桩号 and
    // station its distance; a 桩号 that maps to none is empty, and why.
    ChainFault chainFault = ChainFault::None;
    // On a road without them, a station typed with an occurrence ("369.780(1)"):
    // a 桩号 of a table that is missing, no station.
    bool bOccurrenceWithoutTable = false;

    bool HasPoint() const { return x && y; }
    CPlanePoint Point() const { return CPlanePoint(x.value_or(0), y.value_or(0)); }
};

// Parses one control line (58 bytes, the layout of ControlLine.h).
ChangePoint ParseChangePoint(const std::string& line);
// The same on a road with station equations: the station field is a 桩号
// (with its occurrence where it has one), and station its distance; a 桩号
// that maps to none leaves station empty, chainFault saying why.
ChangePoint ParseChangePoint(const std::string& line, const Chainage& chain);

// Why an element cannot be evaluated, known when it is parsed.
enum class ElementFault {
    None,
    NotANumber,       // a station, radius, X or Y of its two rows holds no number
    InvalidLineType,  // its start row's line type is none of straight, circular, transition
    RadiusMismatch,   // a transition whose two radii are equal
};

// The stretch of road from one change point to the next in station order.
struct Element {
    int nStartRow = 0;  // control list index (1-based) of its start row
    int nEndRow = 0;    // and of the row that ends it
    LineType type = LineType::Invalid;
    Turn turn = Turn::Right;  // from the start row's radius
    double dStartStation = 0, dEndStation = 0;
    CPlanePoint ptStart, ptEnd;
    double dStartRadius = 0, dEndRadius = 0;  // magnitudes
    ElementFault fault = ElementFault::None;
    std::string strStartStation;  // the start row's station as typed (GBK): named by NotANumber

    // The request PointOnElement takes for this element (station, offset
    // and deflection 0).
    ElementRequest Request() const;
};

// The element between two rows, checked as the evaluation checks them.
Element MakeElement(const ChangePoint& start, const ChangePoint& end, int startRow, int endRow);

// A stake on the road: the point set off by the offset along the deflected
// direction, and the centreline's tangent azimuth there (without deflection).
struct Stake {
    double dStation = 0;
    CPlanePoint point;
    double dAzimuth = 0;
};

class Alignment {
public:
    Alignment() = default;

    // The control list as the window holds it: line 0 is its header and is
    // not a row. Rows whose stations are numbers are put in station order
    // (equal stations keep list order); a row whose station holds no
    // number leaves the alignment without elements (BadStationRow names it).
    // With station equations each station field is a 桩号, optionally with
    // its occurrence ("1050.000(2)"), converted to its distance here: one in
    // no zone, or in a 长链 without its occurrence, is no station either.
    // The equations are then bounded by the road's ends (ChainMessage).
    static Alignment Parse(const std::vector<std::string>& controlList, const Chainage& chain = Chainage());

    // The station equations the rows were read with (empty: none), bounded
    // by MinStation and MaxStation once the road is usable.
    const Chainage& Chain() const { return chain_; }
    // Why the equations do not fit the road (an equation before its start or
    // after its end), naming the table's row, UTF-8; empty when they do.
    const std::string& ChainMessage() const { return chainMessage_; }
    // Why BadStationRow's station is refused (UTF-8): no number, or a 桩号
    // that maps to no distance, named. Empty when every station is one.
    std::string StationRefusal() const;

    // Rows in list order: Rows()[i] is list line i + 1.
    const std::vector<ChangePoint>& Rows() const { return rows_; }
    // The first list line (1-based) whose station is no number, 0 when none.
    int BadStationRow() const { return badStationRow_; }
    // At least two rows, every station a number: stakes can be asked for.
    bool Usable() const { return !elements_.empty(); }

    // Elements in station order; empty unless Usable.
    const std::vector<Element>& Elements() const { return elements_; }
    double MinStation() const { return min_; }
    double MaxStation() const { return max_; }

    // The element that holds the station: the first at the first station,
    // the last at the last one (and beyond it), otherwise the one whose end
    // row is the first row after the first with a station strictly greater.
    // Needs Usable.
    std::size_t ElementAt(double station) const;

    // The stake on element e, bit for bit what PointOnElement gives for the
    // element's request. A faulty element gives its start point, azimuth 0:
    // ask Elements()[e].fault first.
    Stake At(std::size_t e, double station, double offset, double deflection) const;
    const ElementGeometry& Geometry(std::size_t e) const { return geometry_[e]; }
    Stake At(double station, double offset, double deflection) const {
        return At(ElementAt(station), station, offset, deflection);
    }

private:
    std::vector<ChangePoint> rows_;
    std::vector<Element> elements_;
    std::vector<ElementGeometry> geometry_;  // one per element
    int badStationRow_ = 0;
    double min_ = 0, max_ = 0;
    Chainage chain_;
    std::string chainMessage_;
};

}  // namespace vexaline
