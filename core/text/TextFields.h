#pragma once
#include <cstddef>
#include <optional>
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

// A number as typed into a new field or file: blanks around it allowed,
// one sign, nothing after it; finite. Stricter than sscanf("%lf"), which
// reads "12abc" as 12: in a table or an argument a stray character is a
// typing fault, not the end of the number. nullopt otherwise.
std::optional<double> ParseNumber(const std::string& text);

// sscanf("%lf") with 0 for a text that holds no number (atof's rule).
double ReadDoubleOr0(const std::string& text);

// The text without blanks and tabs at either end.
std::string TrimBlanks(const std::string& text);

// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vexaline
