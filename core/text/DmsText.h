#pragma once
#include <optional>
#include <string>

// Angles as D.MMSSsssss texts, every digit kept: degrees, a point, two
// digits of minutes, two of seconds and the seconds' decimals
// ("39.5412345678" is 39°54′12.345678″), for latitudes, longitudes and
// rotations that need more than AngleText's whole seconds. Texts are ASCII.
namespace vexaline {

// Degrees of a D.MMSSsssss text: an optional sign, digits, and after the
// point the minutes, the seconds and their decimals, missing digits read
// as 0 ("114.3" is 114°30′). Exact to the last digit given: the minutes and
// seconds are taken from the digits, never from a rounded double.
// nullopt: no such text (blanks inside, an exponent, no digit at all, a
// stray character), or minutes or seconds of 60 or more.
std::optional<double> ReadDmsDegrees(const std::string& text);

// The angle in D.MMSSsssss, its seconds rounded to `secondDecimals` places
// (0 to 6), a minus sign in front of a negative angle that does not round
// to 0. Needs a finite angle below 10⁶ degrees.
std::string DmsDegreesText(double degrees, int secondDecimals = 5);

}  // namespace vexaline
