#include "core/road/ResultText.h"

#include <cmath>

#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// Column widths of a result line.
constexpr std::size_t kCoordinateWidths[5] = {12, 14, 12, 10, 10};
constexpr std::size_t kSettingOutWidths[5] = {12, 12, 10, 10, 10};
constexpr std::size_t kElevationWidth = 12;

std::string WithElevationTitle(std::string header) {
    const std::size_t start = header.size();
    header += Gbk(text::kElevationHeader);
    PadColumn(header, start, kElevationWidth);
    return header;
}

struct GbkTexts {
    std::string coordinates = Gbk(text::kCoordinatesHeader);
    std::string settingOut = Gbk(text::kSettingOutHeader);
    std::string coordinatesHeights = WithElevationTitle(coordinates);
    std::string settingOutHeights = WithElevationTitle(settingOut);
    std::string outsideProfile = Gbk(text::kOutsideProfile);
    std::string remark[3] = {Gbk(text::kRemarkStraight), Gbk(text::kRemarkCircular), Gbk(text::kRemarkTransition)};
    std::string mismatch = Gbk(text::kElementMismatch);
    std::string invalidType = Gbk(text::kInvalidLineType);
    std::string notANumber = Gbk(text::kNotANumber);
    std::string cannotCompute = Gbk(text::kCannotCompute);
    std::string chainRemark = Gbk(text::kChainRemark);
    std::string right = Gbk(text::kRight);
    std::string left = Gbk(text::kLeft);
    std::string none;
};

const GbkTexts& Texts() {
    static const GbkTexts texts;
    return texts;
}

// Appends the row's fields to out. With pad, each is padded to its width
// (the line); otherwise cuts gets where each field ends (the fields).
void AppendFields(std::string& out, ResultMode mode, const StakeResult& row, const StationSetup* setup, bool pad,
                  std::vector<std::size_t>* cuts) {
    const bool coordinates = mode == ResultMode::Coordinates;
    const std::size_t* widths = coordinates ? kCoordinateWidths : kSettingOutWidths;
    int field = 0;
    std::size_t start = out.size();
    auto next = [&] {
        if (pad) PadColumn(out, start, widths[field]);
        if (cuts) cuts->push_back(out.size());
        ++field;
        start = out.size();
    };
    if (row.chain) out += ChainStationText(*row.chain);
    else AppendFixed(out, row.dStation, 3);
    next();
    if (coordinates) {
        AppendFixed(out, row.point.X, 3);
        next();
        AppendFixed(out, row.point.Y, 3);
        next();
        AppendDms(out, FixedRoundTrip(row.dAzimuth, 6));  // the azimuth as its "%lf" text reads
        next();
        out += row.equationBack ? Texts().chainRemark : SegmentRemark(row.segment);
        next();
        return;
    }
    AppendDms(out, FixedRoundTrip(row.dAngle, 15));  // the angle as its "%.15lf" text reads
    next();
    AppendFixed(out, row.dDistance, 3);
    next();
    if (setup) out += setup->strStationName;
    next();
    if (setup) out += setup->strBacksightName;
    next();
}

// The design elevation field of a set with heights.
void AppendElevation(std::string& out, const StakeResult& row, bool pad) {
    const std::size_t start = out.size();
    if (row.elevation) AppendFixed(out, *row.elevation, 3);
    else out += Texts().outsideProfile;
    if (pad) PadColumn(out, start, kElevationWidth);
}

const StationSetup* SetupOf(const ResultSet& set, const StakeResult& row) {
    return row.nSetup >= 0 ? &set.setups[static_cast<std::size_t>(row.nSetup)] : nullptr;
}

}  // namespace

const std::string& ResultHeader(ResultMode mode) {
    return mode == ResultMode::Coordinates ? Texts().coordinates : Texts().settingOut;
}

const std::string& ResultHeader(ResultMode mode, bool heights) {
    if (!heights) return ResultHeader(mode);
    return mode == ResultMode::Coordinates ? Texts().coordinatesHeights : Texts().settingOutHeights;
}

const std::string& SegmentRemark(LineType type) {
    switch (type) {
    case LineType::Straight: return Texts().remark[0];
    case LineType::Circular: return Texts().remark[1];
    case LineType::Transition: return Texts().remark[2];
    default: return Texts().none;
    }
}

void AppendResultLine(std::string& out, const ResultSet& set, const StakeResult& row) {
    if (row.IsMessage()) {
        out += set.messages[static_cast<std::size_t>(row.nMessage)];
        return;
    }
    AppendFields(out, set.mode, row, SetupOf(set, row), true, nullptr);
    if (set.bHeights) AppendElevation(out, row, true);
}

void AppendStakeLine(std::string& out, ResultMode mode, const StakeResult& row, const StationSetup* setup) {
    AppendFields(out, mode, row, setup, true, nullptr);
}

std::string ResultLine(const ResultSet& set, std::size_t i) {
    std::string line;
    line.reserve(64);
    AppendResultLine(line, set, set.rows[i]);
    return line;
}

std::vector<std::string> ResultFields(const ResultSet& set, const StakeResult& row) {
    std::vector<std::string> fields(set.bHeights ? 6 : 5);
    if (row.IsMessage()) {
        fields.back() = set.messages[static_cast<std::size_t>(row.nMessage)];
        return fields;
    }
    std::string all;
    std::vector<std::size_t> cuts;
    AppendFields(all, set.mode, row, SetupOf(set, row), false, &cuts);
    std::size_t from = 0;
    for (std::size_t i = 0; i < cuts.size() && i < fields.size(); ++i) {
        fields[i] = all.substr(from, cuts[i] - from);
        from = cuts[i];
    }
    if (set.bHeights) AppendElevation(fields.back(), row, false);
    return fields;
}

std::string LookupText(CPlanePoint p, double azimuth) {
    std::string out;
    AppendFixed(out, p.X, 3);
    PadColumn(out, 0, 14);
    const std::size_t start = out.size();
    AppendFixed(out, p.Y, 3);
    PadColumn(out, start, 12);
    AppendFixed(out, azimuth, 6);
    return out;
}

std::string ElementMessage(const Element& e) {
    switch (e.fault) {
    case ElementFault::NotANumber: return Format(Texts().notANumber.c_str(), e.strStartStation.c_str());
    case ElementFault::InvalidLineType: return Format(Texts().invalidType.c_str(), e.dStartStation);
    case ElementFault::RadiusMismatch: return Format(Texts().mismatch.c_str(), e.dStartStation, e.dEndStation);
    case ElementFault::None: break;
    }
    return std::string();
}

std::string CannotComputeMessage(const Element& e) {
    return Format(Texts().cannotCompute.c_str(), e.dStartStation, e.dEndStation);
}

std::string LookupStationText(double station) { return Format("%.3lf", station); }

std::string LookupOffsetText(double offset) {
    return std::signbit(offset) ? Format(Texts().left.c_str(), -offset) : Format(Texts().right.c_str(), offset);
}

std::string CheckMessage(StakeCheck check, const Alignment& road) {
    if (check == StakeCheck::BadStationLine) return road.StationRefusal();
    return CheckMessage(check, road.BadStationRow());
}

std::string CheckMessage(StakeCheck check, int badLine) {
    switch (check) {
    case StakeCheck::Ok: break;
    case StakeCheck::NoControl: return text::kNoControl;
    case StakeCheck::OutOfRange: return text::kOutOfRange;
    case StakeCheck::InvalidRange: return text::kInvalidRange;
    case StakeCheck::BadStationLine: return Format(text::kBadStationLine, badLine);
    case StakeCheck::TooManyStakes: return Format(text::kTooManyStakes, kMaxStakes);
    }
    return std::string();
}

std::string SetupMessage(const StationSetup& s) {
    if (!s.ptStation.IsSurveyPoint()) return Format(text::kPointNotACoordinate, GbkToUtf8(s.strStationName).c_str());
    if (!s.ptBacksight.IsSurveyPoint())
        return Format(text::kPointNotACoordinate, GbkToUtf8(s.strBacksightName).c_str());
    return CanOrient(s) ? std::string() : std::string(text::kSamePoints);
}

}  // namespace vexaline
