#include "core/text/DmsText.h"

#include <cmath>
#include <cstdlib>

#include "core/text/TextFields.h"

namespace vexaline {
namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ReadDmsDegrees(const std::string& text) {
    // Digit by digit, without a string made: a million points are read at a time.
    std::size_t at = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t") + 1;
    if (at == std::string::npos) return std::nullopt;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    long long whole = 0;
    int wholeDigits = 0;
    for (; at < end && Digit(text[at]); ++at, ++wholeDigits) whole = whole * 10 + (text[at] - '0');
    int fraction[4] = {0, 0, 0, 0}, fractionDigits = 0;
    long long rest = 0, restScale = 1;  // the seconds' decimals
    if (at < end && text[at] == '.')
        for (++at; at < end && Digit(text[at]); ++at, ++fractionDigits) {
            if (fractionDigits < 4) fraction[fractionDigits] = text[at] - '0';
            else if (restScale < 1000000000000000LL) rest = rest * 10 + (text[at] - '0'), restScale *= 10;
        }
    if (at != end || wholeDigits + fractionDigits == 0 || wholeDigits > 9) return std::nullopt;
    const int minutes = fraction[0] * 10 + fraction[1];
    const double seconds = fraction[2] * 10 + fraction[3] + static_cast<double>(rest) / static_cast<double>(restScale);
    if (minutes >= 60 || !(seconds < 60)) return std::nullopt;
    const double degrees = static_cast<double>(whole) + minutes / 60.0 + seconds / 3600.0;
    return negative ? -degrees : degrees;
}

std::string DmsDegreesText(double degrees, int secondDecimals) {
    long long unit = 1;  // counts per second
    for (int i = 0; i < secondDecimals; ++i) unit *= 10;
    const long long n = std::llround(std::fabs(degrees) * 3600.0 * static_cast<double>(unit));
    const long long perMinute = 60 * unit, perDegree = 3600 * unit;
    // Digits by hand: a million points are written at a time.
    std::string text = degrees < 0 && n > 0 ? "-" : "";
    text += std::to_string(n / perDegree);
    text += '.';
    auto digits = [&text](long long v, int count) {
        const std::size_t at = text.size();
        text.append(static_cast<std::size_t>(count), '0');
        for (std::size_t i = at + static_cast<std::size_t>(count); i > at; v /= 10) text[--i] = static_cast<char>('0' + v % 10);
    };
    digits(n % perDegree / perMinute, 2);
    digits(n % perMinute / unit, 2);
    digits(n % unit, secondDecimals);
    return text;
}

}  // namespace vexaline
