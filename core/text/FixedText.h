#pragma once
#include <string>

// printf("%.*f") for the result lines, without printf's cost: a result run
// prints four numbers per stake and a million stakes.
namespace vexaline {

// Appends exactly what snprintf(buf, n, "%.*f", decimals, v) writes
// (decimals 0 to 15): the binary value rounded half to even, as glibc does
// in the default rounding mode. Exact integer arithmetic for every value
// whose scaled magnitude fits 64 bits; snprintf itself for the rest.
void AppendFixed(std::string& out, double v, int decimals);

// "%.3f" of a length or coordinate, but "0.000" for what rounds to zero
// from below: a field of a file never says "-0.000".
std::string MillimetreText(double v);

// The value atof gives back for that text, without making the text.
double FixedRoundTrip(double v, int decimals);

}  // namespace vexaline
