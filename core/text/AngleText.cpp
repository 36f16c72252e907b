#include "core/text/AngleText.h"

#include <cmath>
#include <cstdlib>

#include "core/geometry/PlanePoint.h"
#include "core/text/TextFields.h"

namespace vexaline {
namespace {

// The reciprocals as doubles, used as factors (not divisors).
constexpr double kInv180 = 0.005555555555555556;
constexpr double kInv10800 = 9.259259259259259e-05;
constexpr double kInv648000 = 1.5432098765432098e-06;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A part of a D.MMSS text; "nan", "inf" and what overflows ("1e400") are
// no angle and count 0, as a part that holds no number does.
double Part(const std::string& text) {
    double v = ReadDoubleOr0(text);
    return std::isfinite(v) ? v : 0;
}

struct DmsParts {
    double degrees = 0, minutes = 0, seconds = 0;
};

// Steps 2 to 4 of DmsToRadians, for a text without its sign.
DmsParts SplitDms(const std::string& text) {
    DmsParts parts;
    std::size_t p = text.find('.');
    if (p == std::string::npos) {
        parts.degrees = Part(text);
    } else {
        parts.degrees = Part(text.substr(0, p));
        parts.minutes = Part(text.substr(p + 1, 2));
        // Seconds: the bytes after the two minute bytes, with a point after
        // their first two ("1525" reads as 15.25).
        std::string rest = p + 3 < text.size() ? text.substr(p + 3) : std::string();
        std::string secondsText = rest.substr(0, 2) + "." + (rest.size() > 2 ? rest.substr(2) : std::string());
        parts.seconds = Part(secondsText);
    }
    return parts;
}

void AppendTwoDigits(std::string& out, int n) {
    out += static_cast<char>('0' + n / 10);
    out += static_cast<char>('0' + n % 10);
}

}  // namespace

std::string DmsToRadians(std::string text) {
    std::size_t first = 0;
    while (first < text.size() && IsSpace(text[first])) ++first;
    bool negative = first < text.size() && text[first] == '-';
    if (negative) text.erase(first, 1);
    const DmsParts d = SplitDms(text);
    double value = ((d.minutes * kInv10800 + d.degrees * kInv180) + d.seconds * kInv648000) * kPi;
    return Format("%lf", negative ? -value : value);
}

bool DmsFieldsBelowSixty(const std::string& text) {
    // A leading minus stands before the degrees only; the fields after the
    // point read the same without it.
    const DmsParts d = SplitDms(text);
    return d.minutes < 60 && d.seconds < 60;
}

void AppendDms(std::string& out, double v) {
    bool negative = v < 0;
    v = std::fabs(v);
    double deg = v * 180.0 / kPi;
    // NaN, the infinities and angles whose degrees overflow are no angle:
    // written as a text without a number is. The system never passes one.
    if (!std::isfinite(deg)) {
        out += "0.0000";
        return;
    }
    if (negative) out += '-';
    // D is held as a double so that no degree count overflows an int; for
    // every angle that fits an int this is the same truncation.
    double D = std::trunc(deg);
    double t = (deg - D) * 3600.0;
    int M = static_cast<int>(t) / 60;
    double r = t - 60 * M;
    int S = static_cast<int>(r);
    if (r - S > 0.5) S = S + 1;  // exactly one half does not round up
    if (S == 60) {
        S = 0;
        M = M + 1;
    }
    if (M >= 60) {
        M = M - 60;
        D = D + 1;
    }
    if (D >= 360) D = D - 360;
    if (D < 1e18) {
        char digits[24];
        int n = 0;
        unsigned long long d = static_cast<unsigned long long>(D);
        do {
            digits[n++] = static_cast<char>('0' + d % 10);
            d /= 10;
        } while (d != 0);
        while (n > 0) out += digits[--n];
    } else {
        out += Format("%.0f", D);
    }
    out += '.';
    AppendTwoDigits(out, M);
    AppendTwoDigits(out, S);
}

std::string RadiansToDms(std::string text) {
    std::string out;
    AppendDms(out, std::atof(text.c_str()));
    return out;
}

std::string PadRight(std::string text, int width) {
    long n = static_cast<long>(width) - static_cast<long>(text.size());
    if (n >= 1) text.append(static_cast<std::size_t>(n), ' ');
    return text;
}

}  // namespace vexaline
