#pragma once
#include <cstddef>
#include <string>

// Fixed-column fields of GBK lines: offsets and widths count bytes.
namespace vexaline {

// Bytes [offset, offset + width) of the line (fewer when the line ends
// earlier; width npos: to the end), with trailing blanks (0x20) removed.
std::string Field(const std::string& line, std::size_t offset, std::size_t width = std::string::npos);

// Reads a number as sscanf("%lf") does: leading white space skipped, the
// longest prefix that forms a number. False, and value untouched, when the
// text does not begin with one.
bool ReadDouble(const std::string& text, double& value);

// sscanf("%lf") with 0 for a text that holds no number (atof's rule).
double ReadDoubleOr0(const std::string& text);

// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vexaline
