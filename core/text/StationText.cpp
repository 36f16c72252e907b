#include "core/text/StationText.h"

#include <cmath>

#include "core/text/FixedText.h"

namespace vexaline {

std::string KStation(double station) {
    if (!std::isfinite(station)) return {};
    // The digits "%.3f" prints, so that rounding is the lists' rounding.
    std::string digits;
    AppendFixed(digits, std::fabs(station), 3);
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    const std::string fraction = digits.substr(point);
    if (whole.size() < 4) whole.insert(0, 4 - whole.size(), '0');
    const std::string km = whole.substr(0, whole.size() - 3);
    const std::string metres = whole.substr(whole.size() - 3);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (station < 0 && !zero ? "K-" : "K") + km + "+" + metres + fraction;
}

}  // namespace vexaline
