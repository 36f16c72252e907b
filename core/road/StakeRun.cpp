#include "core/road/StakeRun.h"

#include <cmath>

#include "core/text/AngleText.h"
#include "core/text/ResultText.h"
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

bool AppendStake(ResultSet& set, const Alignment& road, std::size_t e, double station, double offset,
                 double deflection, int setup, const MessageSink& report) {
    StakeResult row;
    row.nSetup = set.mode == ResultMode::SettingOut ? setup : -1;
    const StationSetup* s = row.nSetup >= 0 ? &set.setups[static_cast<std::size_t>(row.nSetup)] : nullptr;
    const std::string message = StakeOn(road.Elements()[e], road.Geometry(e), station, offset, deflection, s, row);
    if (!message.empty()) {
        if (report) report(message);
        row.nMessage = set.AddMessage(message);
    }
    set.rows.push_back(row);
    return message.empty();
}

void RunStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, int startPosition,
               const std::function<void(int)>& progress, const MessageSink& report) {
    if (!road.Usable()) return;
    const double steps = (request.dEndStation - request.dStartStation) / request.dInterval;
    if (steps >= 0 && steps < kMaxStakes) set.rows.reserve(set.rows.size() + static_cast<std::size_t>(steps) + 2);
    const int setup = set.mode == ResultMode::SettingOut ? set.AddSetup(request.setup) : -1;
    if (set.rows.empty()) set.range = StakeRange{request.dStartStation, request.dEndStation, request.dInterval};

    int position = startPosition;
    long long c = 0;
    std::size_t current = road.Elements().size();
    // A faulty element leaves its message at every stake, but the box comes
    // once per element: a long element at a short interval would otherwise
    // ask for a click per stake.
    bool reported = false;
    MessageSink reportOnce;
    if (report) reportOnce = [&reported, &report](const std::string& message) {
        if (!reported) report(message);
        reported = true;
    };
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
        if (e != current) {
            current = e;
            reported = false;
        }
        AppendStake(set, road, e, s, request.dOffset, request.dDeflection, setup, reportOnce);
        // The running sum, not start + c × interval. A sum that no longer
        // grows would never pass the end station: stop there.
        double next = s + request.dInterval;
        if (!(next > s)) break;
        s = next;
        if (s > request.dEndStation) break;
    }
}

bool AddStake(const Alignment& road, double station, const StakeRequest& request, ResultSet& set,
              const MessageSink& report) {
    if (!road.Usable()) return false;
    const int setup = set.mode == ResultMode::SettingOut ? set.AddSetup(request.setup) : -1;
    return AppendStake(set, road, road.ElementAt(station), station, request.dOffset, request.dDeflection, setup,
                       report);
}

}  // namespace vexaline
