#include "core/text/StationText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

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

std::string StakeName(double station, double offset, double deflection) {
    std::string name = KStation(station);
    if (offset != 0) {
        double side = offset * std::sin(deflection);
        if (side > 0) name += "R";
        else if (side < 0) name += "L";
        // The size to the millimetre, trailing zeros and a bare point removed.
        std::string size;
        AppendFixed(size, std::fabs(offset), 3);
        size.erase(size.find_last_not_of('0') + 1);
        if (size.back() == '.') size.pop_back();
        name += size;
    }
    return name;
}

namespace {

// Digits from at, at least min and at most max of them; their count, or -1.
int Digits(const std::string& s, std::size_t at, int min, int max) {
    int n = 0;
    while (at + n < s.size() && std::isdigit(static_cast<unsigned char>(s[at + n]))) ++n;
    return n >= min && n <= max ? n : -1;
}

// A number "digits[.d{1,3}]" at at: its text and the position after it,
// or an empty text.
std::string Decimal(const std::string& s, std::size_t& at, int minWhole, int maxWhole) {
    const int whole = Digits(s, at, minWhole, maxWhole);
    if (whole < 0) return {};
    std::size_t end = at + whole;
    if (end < s.size() && s[end] == '.') {
        const int fraction = Digits(s, end + 1, 1, 3);
        if (fraction < 0) return {};
        end += 1 + fraction;
    }
    std::string text = s.substr(at, end - at);
    at = end;
    return text;
}

}  // namespace

std::optional<NamedStake> ParseStakeName(const std::string& name) {
    std::size_t at = 1;
    if (name.empty() || name[0] != 'K') return std::nullopt;
    const bool negative = at < name.size() && name[at] == '-';
    if (negative) ++at;
    const int km = Digits(name, at, 1, 9);
    if (km < 0 || (km > 1 && name[at] == '0')) return std::nullopt;
    const std::string kilometres = name.substr(at, km);
    at += km;
    if (at >= name.size() || name[at] != '+') return std::nullopt;
    ++at;
    const std::string metres = Decimal(name, at, 3, 3);
    if (metres.empty()) return std::nullopt;
    NamedStake stake;
    stake.dStation = std::strtod((kilometres + metres).c_str(), nullptr);
    if (negative) stake.dStation = -stake.dStation;
    if (at == name.size()) return stake;
    const char side = name[at++];
    if (side != 'R' && side != 'L') return std::nullopt;
    const std::string offset = Decimal(name, at, 1, 6);
    if (offset.empty() || at != name.size()) return std::nullopt;
    stake.dOffset = std::strtod(offset.c_str(), nullptr);
    if (stake.dOffset == 0) return std::nullopt;
    if (side == 'L') stake.dOffset = -stake.dOffset;
    return stake;
}

}  // namespace vexaline
