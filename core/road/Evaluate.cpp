#include "core/road/Evaluate.h"

#include <cmath>

#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// The fixed texts in GBK, converted once.
struct GbkTexts {
    std::string straight = Gbk(text::kStraight);
    std::string circular = Gbk(text::kCircular);
    std::string transition = Gbk(text::kTransition);
    std::string infinity = Gbk(text::kInfinity);
    std::string minusInfinity = Gbk(text::kMinusInfinity);
    std::string remarkStraight = Gbk(text::kRemarkStraight);
    std::string remarkCircular = Gbk(text::kRemarkCircular);
    std::string remarkTransition = Gbk(text::kRemarkTransition);
    std::string mismatch = Gbk(text::kElementMismatch);
    std::string invalidType = Gbk(text::kInvalidLineType);
    std::string notANumber = Gbk(text::kNotANumber);
    std::string cannotCompute = Gbk(text::kCannotCompute);
    std::string empty;
};

const GbkTexts& Texts() {
    static const GbkTexts texts;
    return texts;
}

// A number field: what sscanf("%lf") reads, and finite. NaN and infinities
// ("nan", "inf") are no measurement; "∞" has its own text.
bool ReadNumber(const std::string& line, std::size_t offset, std::size_t width, double& value) {
    return ReadDouble(Field(line, offset, width), value) && std::isfinite(value);
}

bool ReadRadius(const std::string& line, double& magnitude, int& turn) {
    std::string f = Field(line, 22, 12);
    const GbkTexts& t = Texts();
    if (f == t.infinity) {
        magnitude = INFINITE_RADIUS;
        turn = 1;
        return true;
    }
    if (f == t.minusInfinity) {
        magnitude = INFINITE_RADIUS;
        turn = -1;
        return true;
    }
    double r;
    if (!ReadDouble(f, r) || !std::isfinite(r)) return false;
    magnitude = r < 0 ? -r : r;
    turn = r < 0 ? -1 : 1;
    return true;
}

// Reads the two lines into an element request (station, offset and
// deflection left unset) and checks them. Returns the message when the
// element cannot be evaluated, empty otherwise.
std::string ParseElement(const std::string& startLine, const std::string& endLine, ElementRequest& q,
                         const std::string*& remark) {
    const GbkTexts& t = Texts();
    q = ElementRequest{};
    remark = &t.empty;
    int endTurn;
    bool numbers = ReadNumber(startLine, 0, 12, q.dStartStation) && ReadRadius(startLine, q.dStartRadius, q.nTurn) &&
                   ReadNumber(startLine, 34, 12, q.ptStart.X) && ReadNumber(startLine, 46, 12, q.ptStart.Y) &&
                   ReadNumber(endLine, 0, 12, q.dEndStation) && ReadRadius(endLine, q.dEndRadius, endTurn) &&
                   ReadNumber(endLine, 34, 12, q.ptEnd.X) && ReadNumber(endLine, 46, 12, q.ptEnd.Y);
    if (!numbers) return Format(t.notANumber.c_str(), Field(startLine, 0, 12).c_str());
    std::string type = Field(startLine, 12, 10);
    if (type == t.straight) {
        q.nLineType = 0;
        remark = &t.remarkStraight;
    } else if (type == t.circular) {
        q.nLineType = 1;
        remark = &t.remarkCircular;
    } else if (type == t.transition) {
        q.nLineType = 2;
        remark = &t.remarkTransition;
    } else {
        q.nLineType = -1;
        return Format(t.invalidType.c_str(), q.dStartStation);
    }
    // A transition curve must change its radius.
    if (q.nLineType == 2 && q.dEndRadius == q.dStartRadius)
        return Format(t.mismatch.c_str(), q.dStartStation, q.dEndStation);
    return std::string();
}

// Degenerate but readable control data (a circular curve of radius 0,
// coordinates near the largest double) can make a stake that is no number.
std::string CannotCompute(const ElementRequest& q) {
    return Format(Texts().cannotCompute.c_str(), q.dStartStation, q.dEndStation);
}

// The result text for a computed stake, appended to out. False, with
// nothing appended, when a number of it is not finite: such a line would
// print "nan" where the surveyor expects coordinates.
bool AppendResult(std::string& out, double station, const StakePoint& p, int mode, const std::string& remark,
                  CPlanePoint instrument, CPlanePoint backsight, const std::string& stationName,
                  const std::string& backsightName) {
    double distance = 0, angle = 0;
    if (mode != 0 && mode != 101) {
        distance = instrument.Distance(p.dX, p.dY);
        angle = instrument.Azimuth(p.dX, p.dY) - instrument.Azimuth(backsight);
        if (angle < 0) angle += kTwoPi;
    }
    bool finite = mode == 0 || mode == 101
                      ? std::isfinite(p.dX) && std::isfinite(p.dY) && std::isfinite(p.dAzimuth)
                      : std::isfinite(distance) && std::isfinite(angle);
    if (!finite || !std::isfinite(station)) return false;
    std::size_t start = out.size();
    if (mode == 101) {
        AppendFixed(out, p.dX, 3);
        PadField(out, start, 14);
        start = out.size();
        AppendFixed(out, p.dY, 3);
        PadField(out, start, 12);
        AppendFixed(out, p.dAzimuth, 6);
        return true;
    }
    AppendFixed(out, station, 3);
    PadField(out, start, 12);
    start = out.size();
    if (mode == 0) {
        AppendFixed(out, p.dX, 3);
        PadField(out, start, 14);
        start = out.size();
        AppendFixed(out, p.dY, 3);
        PadField(out, start, 12);
        start = out.size();
        AppendDms(out, FixedRoundTrip(p.dAzimuth, 6));  // the azimuth as its "%lf" text reads
        PadField(out, start, 10);
        start = out.size();
        out += remark;
        PadField(out, start, 10);
        return true;
    }
    AppendDms(out, FixedRoundTrip(angle, 15));  // the angle as its "%.15lf" text reads
    PadField(out, start, 12);
    start = out.size();
    AppendFixed(out, distance, 3);
    PadField(out, start, 10);
    start = out.size();
    out += stationName;
    PadField(out, start, 10);
    start = out.size();
    out += backsightName;
    PadField(out, start, 10);
    return true;
}

}  // namespace

std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName, const MessageSink& report) {
    ElementRequest q;
    const std::string* remark;
    std::string message = ParseElement(startLine, endLine, q, remark);
    if (!message.empty()) {
        if (report) report(message);
        return message;
    }
    q.dStation = station;
    q.dOffset = offset;
    q.dDeflection = deflection;
    StakePoint p = PointOnElement(q);
    std::string out;
    out.reserve(64);
    if (!AppendResult(out, station, p, mode, *remark, instrument, backsight, stationName, backsightName)) {
        out = CannotCompute(q);
        if (report) report(out);
    }
    return out;
}

// ---------------------------------------------------------------- prepared

PreparedElement::PreparedElement(const std::string& startLine, const std::string& endLine) {
    message_ = ParseElement(startLine, endLine, base_, remark_);
    ok_ = message_.empty();
    if (ok_) geometry_ = ElementGeometry(base_);
}

StakePoint PreparedElement::Point(double station, double offset, double deflection) const {
    if (!ok_) return StakePoint{base_.ptStart.X, base_.ptStart.Y, 0.0};
    return geometry_.At(station, offset, deflection);
}

bool PreparedElement::Append(std::string& out, double station, double offset, double deflection, int mode,
                             CPlanePoint instrument, CPlanePoint backsight, const std::string& stationName,
                             const std::string& backsightName, const MessageSink& report) {
    if (ok_ && AppendResult(out, station, Point(station, offset, deflection), mode, *remark_, instrument, backsight,
                            stationName, backsightName))
        return true;
    const std::string message = ok_ ? CannotCompute(base_) : message_;
    if (!message.empty() && report) report(message);
    out += message;
    return false;
}

}  // namespace vexaline
