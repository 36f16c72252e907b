#pragma once
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

}  // namespace vexaline
