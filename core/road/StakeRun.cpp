#include "core/road/StakeRun.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text/AngleText.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

StakeCheck CheckStakeRun(const Alignment& road, const StakeRequest& request) {
    if (road.Rows().size() < 2) return StakeCheck::NoControl;
    if (road.BadStationRow() != 0) return StakeCheck::BadStationLine;
    // Written as negations so that a NaN field fails the check.
    if (!(request.dStartStation >= road.MinStation()) || !(request.dEndStation <= road.MaxStation()))
        return StakeCheck::OutOfRange;
    if (!(request.dStartStation <= request.dEndStation) || !(request.dInterval > 0)) return StakeCheck::InvalidRange;
    double steps = (request.dEndStation - request.dStartStation) / request.dInterval;
    if (!(steps < kMaxStakes)) return StakeCheck::TooManyStakes;
    return StakeCheck::Ok;
}

StakeCheck CheckSingleStake(const Alignment& road, double station) {
    if (road.Rows().size() < 2) return StakeCheck::NoControl;
    if (road.BadStationRow() != 0) return StakeCheck::BadStationLine;
    if (!(station >= road.MinStation() && station <= road.MaxStation())) return StakeCheck::OutOfRange;
    return StakeCheck::Ok;
}

const char* DeflectionRefusal(const std::string& dms) {
    // Read as an angle, a text without a number would count 0 and every
    // side stake would quietly fall on the tangent.
    double value = 0;
    if (!ReadDouble(dms, value) || !std::isfinite(value)) return text::kBadDeflection;
    if (!DmsFieldsBelowSixty(dms)) return text::kDeflectionOver60;
    return nullptr;
}

std::optional<double> ParseDeflection(const std::string& dms) {
    if (DeflectionRefusal(dms)) return std::nullopt;
    double radians = 0;
    ReadDouble(DmsToRadians(dms), radians);
    return radians;
}

std::string StakeOn(const Element& element, const ElementGeometry& geometry, double station, double offset,
                    double deflection, const StationSetup* setup, StakeResult& row) {
    row.dStation = station;
    row.dOffset = offset;
    row.dDeflection = deflection;
    row.segment = element.type;
    if (element.fault != ElementFault::None) return ElementMessage(element);
    const StakePoint p = geometry.At(station, offset, deflection);
    row.point = CPlanePoint(p.dX, p.dY);
    row.dAzimuth = p.dAzimuth;
    // A stake beyond any survey coordinate (an offset of 1e300) is no stake.
    bool finite = row.point.IsSurveyPoint();
    if (!setup) {
        finite = finite && std::isfinite(p.dAzimuth);
    } else {
        row.dDistance = setup->ptStation.Distance(p.dX, p.dY);
        double angle = setup->ptStation.Azimuth(p.dX, p.dY) - setup->ptStation.Azimuth(setup->ptBacksight);
        if (angle < 0) angle += kTwoPi;
        row.dAngle = angle;
        finite = finite && std::isfinite(row.dDistance) && std::isfinite(angle);
    }
    // Degenerate but readable data (an arc of radius 0, coordinates near the
    // largest double) would otherwise print "nan" as a stake.
    if (finite && std::isfinite(station)) return std::string();
    return CannotComputeMessage(element);
}

namespace {

// One stake on element e as a row of set (whose messages and setups it
// refers to); a message is reported and added to the set.
StakeResult RowOn(ResultSet& set, const Alignment& road, std::size_t e, double station, double offset,
                  double deflection, int setup, const MessageSink& report) {
    StakeResult row;
    row.nSetup = set.mode == ResultMode::SettingOut ? setup : -1;
    const StationSetup* s = row.nSetup >= 0 ? &set.setups[static_cast<std::size_t>(row.nSetup)] : nullptr;
    const std::string message = StakeOn(road.Elements()[e], road.Geometry(e), station, offset, deflection, s, row);
    if (!road.Chain().Empty()) {
        row.chain = road.Chain().StationAt(station);
        const int k = road.Chain().EquationAt(station);
        if (k >= 0) row.equationBack = road.Chain().Equations()[static_cast<std::size_t>(k)].dBack;
    }
    if (!message.empty()) {
        if (report) report(message);
        row.nMessage = set.AddMessage(message);
    }
    return row;
}

}  // namespace

bool AppendStake(ResultSet& set, const Alignment& road, std::size_t e, double station, double offset,
                 double deflection, int setup, const MessageSink& report) {
    set.rows.push_back(RowOn(set, road, e, station, offset, deflection, setup, report));
    return !set.rows.back().IsMessage();
}

namespace {

// A faulty element leaves its message at every stake, but the box comes
// once per element: a long element at a short interval would otherwise ask
// for a click per stake.
class OncePerElement {
public:
    OncePerElement(const OncePerElement&) = delete;
    OncePerElement& operator=(const OncePerElement&) = delete;
    OncePerElement(const Alignment& road, const MessageSink& report) : current_(road.Elements().size()) {
        if (report) sink_ = [this, &report](const std::string& message) {
            if (!reported_) report(message);
            reported_ = true;
        };
    }
    // The sink for a stake on element e.
    const MessageSink& For(std::size_t e) {
        if (e != current_) current_ = e, reported_ = false;
        return sink_;
    }

private:
    std::size_t current_;
    bool reported_ = false;
    MessageSink sink_;
};

}  // namespace

std::vector<double> ChainedRun(const Chainage& chain, const StakeRequest& request) {
    const double from = request.dStartStation, to = request.dEndStation, step = request.dInterval;
    const double a = std::isnan(request.dStartChainStation) ? chain.StationAt(from).dValue : request.dStartChainStation;
    const std::vector<StationEquation>& eq = chain.Equations();
    std::vector<double> out;
    for (std::size_t z = chain.ZoneAt(from); z <= chain.ZoneAt(to); ++z) {
        const double shift = chain.Shift(z);
        const double first = std::max(chain.From(z), from - shift), last = std::min(chain.To(z), to - shift);
        // Two equations round a zone of length 0 are one point, staked once.
        if (z > 0 && eq[z - 1].dDistance >= from && (out.empty() || out.back() != eq[z - 1].dDistance))
            out.push_back(eq[z - 1].dDistance);
        // The ends' 桩号 come back from their distances within a rounding:
        // a stake that far beyond an end is that end.
        const double nLast = std::floor((last - a + kSamePlace) / step);
        for (double n = std::ceil((first - a - kSamePlace) / step); n <= nLast; ++n) {
            const double s = a + n * step;
            // An equation's 桩号 is its point, listed once as the equation.
            if ((z > 0 && std::fabs(s - eq[z - 1].dAhead) < kSamePlace) ||
                (z < eq.size() && std::fabs(s - eq[z].dBack) < kSamePlace))
                continue;
            const double d = s + shift;
            if (d >= from && d <= to) out.push_back(d);
            else if (d < from && d > from - kSamePlace) out.push_back(from);
            else if (d > to && d < to + kSamePlace) out.push_back(to);
        }
    }
    return out;
}

namespace {

// Where a run's rows go: appended to the set (the window's list), or
// handed to a sink as they come. Reserve(n): about n rows follow.
struct IntoSet {
    ResultSet& set;
    void Reserve(std::size_t n) { set.rows.reserve(set.rows.size() + n); }
    bool operator()(StakeResult&& row) {
        set.rows.push_back(std::move(row));
        return true;
    }
};
struct IntoSink {
    const StakeSink& sink;
    void Reserve(std::size_t) {}
    bool operator()(StakeResult&& row) { return sink(row); }
};

// The run by 桩号 (see RunStakes), each row handed to take; false when take
// stopped it.
template <class Take>
bool ChainedStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, int startPosition,
                   const std::function<void(int)>& progress, const MessageSink& report, Take& take) {
    const std::vector<double> stations = ChainedRun(road.Chain(), request);
    take.Reserve(stations.size());
    const int setup = set.mode == ResultMode::SettingOut ? set.AddSetup(request.setup) : -1;
    if (set.rows.empty()) set.range = StakeRange{request.dStartStation, request.dEndStation, request.dInterval};
    OncePerElement once(road, report);
    int position = startPosition;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const int at = static_cast<int>((i + 1) * 100 / stations.size());
        if (at > position && progress) progress(position = at);
        const std::size_t e = road.ElementAt(stations[i]);
        if (!take(RowOn(set, road, e, stations[i], request.dOffset, request.dDeflection, setup, once.For(e))))
            return false;
    }
    return true;
}

// The run of RunStakes, each row handed to take as it is computed; false
// when take stopped it. The window's list and the command line's streamed
// files step through this one loop.
template <class Take>
bool Stakes(const Alignment& road, const StakeRequest& request, ResultSet& set, int startPosition,
            const std::function<void(int)>& progress, const MessageSink& report, Take take) {
    if (!road.Usable()) return true;
    if (!road.Chain().Empty()) return ChainedStakes(road, request, set, startPosition, progress, report, take);
    const double steps = (request.dEndStation - request.dStartStation) / request.dInterval;
    if (steps >= 0 && steps < kMaxStakes) take.Reserve(static_cast<std::size_t>(steps) + 2);
    const int setup = set.mode == ResultMode::SettingOut ? set.AddSetup(request.setup) : -1;
    if (set.rows.empty()) set.range = StakeRange{request.dStartStation, request.dEndStation, request.dInterval};

    int position = startPosition;
    long long c = 0;
    OncePerElement once(road, report);
    double s = request.dStartStation;
    for (;;) {
        ++c;
        // The bar follows c × 100 / steps, truncated, only forward; the
        // control shows at most 100, so it moves at most 100 times.
        if (steps != 0) {
            double w = static_cast<double>(c) * 100 / steps;
            if (w < 2147483648.0 && w >= -2147483648.0) {
                int wi = static_cast<int>(w);
                if (position < wi) {
                    int shown = wi > 100 ? 100 : wi;
                    if (shown != position) {
                        position = shown;
                        if (progress) progress(position);
                    }
                }
            }
        }
        const std::size_t e = road.ElementAt(s);
        if (!take(RowOn(set, road, e, s, request.dOffset, request.dDeflection, setup, once.For(e)))) return false;
        // The running sum, not start + c × interval. A sum that no longer
        // grows would never pass the end station: stop there.
        double next = s + request.dInterval;
        if (!(next > s)) break;
        s = next;
        if (s > request.dEndStation) break;
    }
    return true;
}

}  // namespace

void RunStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, int startPosition,
               const std::function<void(int)>& progress, const MessageSink& report) {
    Stakes(road, request, set, startPosition, progress, report, IntoSet{set});
}

bool StreamStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, const StakeSink& sink,
                  const MessageSink& report) {
    return Stakes(road, request, set, 0, nullptr, report, IntoSink{sink});
}

bool AddStake(const Alignment& road, double station, const StakeRequest& request, ResultSet& set,
              const MessageSink& report) {
    if (!road.Usable()) return false;
    const int setup = set.mode == ResultMode::SettingOut ? set.AddSetup(request.setup) : -1;
    return AppendStake(set, road, road.ElementAt(station), station, request.dOffset, request.dDeflection, setup,
                       report);
}

}  // namespace vexaline
