#pragma once
#include <optional>
#include <string>
#include <vector>

// Station equations (断链): the 桩号 the drawings carry against the one
// continuous distance the road is computed on. An equation "back = ahead"
// says both 桩号 name the same point; where back > ahead the 桩号 just
// passed repeat (长链), where back < ahead some are skipped (短链).
//
// Conventions: zone 1 runs from the road's start to back₁, zone k+1 from
// ahead_k to back_{k+1}, the last zone to the road's end. In zone z the
// distance of 桩号 s is s + shift_z with shift_1 = 0 and shift_{k+1} =
// shift_k + back_k − ahead_k: distance starts equal to the first 桩号, and
// a road without equations maps every station to itself. A distance on an
// equation belongs to the zone after it (its 桩号 is the ahead one).
//
// A 桩号 that names more than one place (inside a 长链) carries its
// occurrence, 1, 2, … in road order: "1050.000(2)", "K1+050.000(2)".
// This is the one place where 桩号 and distance are mapped; every door
// (window, command line, files) converts here and nowhere else.
namespace vexaline {

// A 桩号 as typed or shown; nOccurrence 0 where none is typed or needed.
struct ChainStation {
    double dValue = 0;
    int nOccurrence = 0;
};

// One row of the table as typed or read (UTF-8): 断链前桩号, 断链后桩号.
struct EquationRow {
    int nLine = 0;  // named in messages: the file line or the table row
    std::string strBack, strAhead;
};

// An equation worked out: its two 桩号 and the distance of its point.
struct StationEquation {
    int nLine = 0;
    double dBack = 0, dAhead = 0;
    double dDistance = 0;
};

inline constexpr int kMaxEquations = 10000;
// Two places of one 桩号 closer than this are one place (an equation of
// back = ahead, a zone of length 0).
inline constexpr double kSamePlace = 1e-6;
inline constexpr double kUnbounded = 1e300;

enum class ChainFault {
    None,
    NoZone,        // in no zone: skipped by a 短链, or beyond an end of the road
    Ambiguous,     // in more than one place and typed without an occurrence
    NoOccurrence,  // an occurrence the 桩号 does not have
};

struct ChainDistance {
    ChainFault fault = ChainFault::None;
    double dDistance = 0;         // the answer when fault is None
    std::vector<double> places;   // the 桩号's places (distances, road order): for Ambiguous and NoOccurrence
};

class Chainage {
public:
    Chainage() = default;  // no equations: every 桩号 is its distance

    bool Empty() const { return equations_.empty(); }
    const std::vector<StationEquation>& Equations() const { return equations_; }
    // Distance minus 桩号 in the last zone: Σ长链 − Σ短链.
    double TotalShift() const { return shifts_.empty() ? 0.0 : shifts_.back(); }

    // The road's ends as distances bound the first zone below and the last
    // above; unbounded until given. Refuses (a message naming the row,
    // UTF-8) an equation before the start or after the end.
    std::string SetEnds(double startDistance, double endDistance);

    // The distance of a 桩号: s + shift of its zone, one rounding (within
    // half an ulp of the exact sum). Refuses a 桩号 in no zone, one in
    // several places typed without its occurrence, an occurrence it lacks.
    // A NaN 桩号 is in no zone. O(log n) plus the zones whose 桩号 span
    // could hold it: a few on a table in road order, whatever its length.
    ChainDistance Distance(ChainStation station) const;

    // The 桩号 of a distance (d − shift, one rounding), with its occurrence
    // where it names more than one place as written to the millimetre
    // (the place nearest the distance). Any finite distance: before the
    // start it is zone 1's, after the end the last zone's. Costs as Distance.
    ChainStation StationAt(double distance) const;

    // The equation whose point lies at the distance (exactly, as the table
    // gives it), or -1.
    int EquationAt(double distance) const;

    // The zone of a distance, 0-based (equations().size() zones + 1).
    std::size_t ZoneAt(double distance) const;
    // Zone z's 桩号 span [From, To], and its shift.
    double From(std::size_t z) const;  // -kUnbounded, kUnbounded where no end is given
    double To(std::size_t z) const;
    double Shift(std::size_t z) const { return z == 0 ? 0.0 : shifts_[z - 1]; }

private:
    friend struct ChainageBuild BuildChainage(const std::vector<EquationRow>& rows);
    // The distances of a 桩号 in road order, one per place: O(log n) plus
    // the zones between the first that can reach it and the last that can
    // start at or before it.
    std::vector<double> Places(double s) const;
    std::vector<StationEquation> equations_;
    std::vector<double> shifts_;  // shifts_[k]: the shift of zone k + 2 (after equation k)
    // maxBack_[k]: the greatest back among equations 0 … k (the last 桩号
    // of zones 0 … k); minAhead_[k]: the least ahead among equations k … n−1
    // (the first 桩号 of zones k + 1 … n). Neither depends on the ends.
    std::vector<double> maxBack_, minAhead_;
    double start_ = -kUnbounded, end_ = kUnbounded;  // the road's ends as distances
};

struct ChainageBuild {
    std::string strMessage;  // UTF-8; empty when built
    Chainage chain;
    bool Ok() const { return strMessage.empty(); }
};

// From the table (no rows: no equations). Refuses, naming the row: more
// than kMaxEquations rows; a back or ahead that is no number (ParseNumber,
// or K notation "K50+622.760"); an equation before the one above it in
// road order (its back before the previous equation's point); a zone of
// negative length (a back among the 桩号 a 短链 above it skipped).
ChainageBuild BuildChainage(const std::vector<EquationRow>& rows);

// A 桩号 as typed: a number (ParseNumber) or K notation ("K1+050.000",
// ParseStakeName without offset), optionally followed by its occurrence
// "(n)", n from 1. nullopt otherwise.
std::optional<ChainStation> ParseChainStation(const std::string& text);

// A 桩号 typed into a field (UTF-8) as its distance: ParseChainStation,
// then Chainage::Distance. strMessage (UTF-8) names the text where it is
// no 桩号 (kChainBadStation) and says why it names no one place
// (ChainRefusal) where it does not.
struct TypedStation {
    std::string strMessage;  // empty when dDistance is the answer
    double dDistance = 0;
    bool Ok() const { return strMessage.empty(); }
};
TypedStation DistanceOfTyped(const Chainage& chain, const std::string& typed);

// "%.3f" and "K1+050.000" (KStation), each followed by "(n)" where the
// occurrence is not 0. ASCII.
std::string ChainStationText(ChainStation station);
std::string ChainKStation(ChainStation station);

// A station field of one of the road's tables (vertical alignment, cross
// slopes) as typed, a 桩号, replaced by its distance written "%.17g" (read
// back exactly). A field that is no 桩号 is left for the table's own check
// to name. Empty when done; otherwise why (ChainRefusal), the field as it was.
std::string StationFieldToDistance(const Chainage& chain, std::string& field);

// KStation of the distance, or on a road with equations ChainKStation of
// its 桩号.
std::string KStationOf(const Chainage& chain, double distance);

// Why a 桩号 was refused (UTF-8), naming it as typed (text) and, when it
// names several places, each place by its distance.
std::string ChainRefusal(const ChainDistance& answer, const std::string& typed);

}  // namespace vexaline
