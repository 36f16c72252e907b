#pragma once
#include <optional>
#include <string>

// Stations as a road crew writes them: kilometres, a plus sign, metres with
// three decimals ("K1+234.500").
namespace vexaline {

// The station in K notation, built from the station rounded to the
// millimetre exactly as "%.3f" rounds it, so the label agrees with the
// station the lists print: 999.9996 gives "K1+000.000", 1234.5 gives
// "K1+234.500". A negative station keeps its sign after the K ("K-0+012.500");
// a station that rounds to zero has none. A value that is not finite gives
// an empty text. ASCII only, so the text is the same in UTF-8 and GBK.
std::string KStation(double station);

// The stake's name, ASCII: its KStation, and for a side stake (offset not
// 0) the side it lies on, "R" or "L" by the sign of offset × sin(deflection),
// and the offset's size to the millimetre without trailing zeros
// ("K1+234.500R7.5"). A side stake straight ahead or behind (sin 0) gets
// no side letter.
std::string StakeName(double station, double offset, double deflection);

// A stake named as StakeName names it: the station, and the offset square
// to the road, positive on the right (R), negative on the left (L), 0 for
// a centre stake.
struct NamedStake {
    double dStation = 0;
    double dOffset = 0;
};

// The inverse of StakeName for the names a crew keeps or writes by hand:
// "K", an optional "-", the kilometres (digits, no leading zero but a lone
// 0), "+", exactly three digits of metres, optionally a point and one to
// three decimals; then nothing, or "R" or "L" and an offset of digits with
// optionally a point and one to three decimals, above 0. Every name
// StakeName gives for a side stake square to the road reads back to its
// station and offset to the millimetre. Anything else is no stake name
// (nullopt): lower case, blanks, a sign after "R"/"L", four digits of
// metres, more than three decimals, a side letter without an offset, an
// offset of 0, a side stake named without its side letter.
std::optional<NamedStake> ParseStakeName(const std::string& name);

}  // namespace vexaline
