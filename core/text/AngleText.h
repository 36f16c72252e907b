#pragma once
#include <string>

// Angle texts (D.MMSS and radians) and fixed-column filling. Texts are GBK
// bytes; lengths and widths count bytes.
namespace vexaline {

// "45.3015" (45°30'15") to the same angle in radians, printed with "%lf".
// A part that holds no finite number ("abc", "nan", "1e400") counts 0.
std::string DmsToRadians(std::string text);

// Whether the minutes and the seconds of a D.MMSS text, read as DmsToRadians
// reads them, are both below 60: "90.7000" holds 70 minutes and is no angle
// in this notation (it would quietly read as 91°10').
bool DmsFieldsBelowSixty(const std::string& text);

// An angle in radians, read with atof, to D.MMSS rounded to the whole second.
// A text without a finite angle in degrees ("abc", "nan", "1e308") gives 0.0000.
std::string RadiansToDms(std::string text);

// Blanks appended up to width; a longer text is never cut.
std::string PadRight(std::string text, int width);

// RadiansToDms of an angle already read as a double (what atof gives for the
// text), appended to out: the formatting core, shared with the stake run.
void AppendDms(std::string& out, double radians);

// Blanks appended to out until the field that began at fieldStart is width
// bytes long: PadRight for a field built in place.
inline void PadField(std::string& out, std::size_t fieldStart, std::size_t width) {
    std::size_t used = out.size() - fieldStart;
    if (used < width) out.append(width - used, ' ');
}

}  // namespace vexaline
