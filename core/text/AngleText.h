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

// Blanks appended to out until the column that began at fieldStart is width
// bytes long; a text that already fills its column gets one blank, so that
// it never runs into the next (an 8-digit easting in a 12-byte column). For
// the columns of lines people read: the list, reports, the sheet. The
// fixed layouts of stored files (control lines, point lines) use PadRight.
inline void PadColumn(std::string& out, std::size_t fieldStart, std::size_t width) {
    std::size_t used = out.size() - fieldStart;
    out.append(used < width ? width - used : 1, ' ');
}

}  // namespace vexaline
