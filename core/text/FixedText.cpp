#include "core/text/FixedText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/text/TextFields.h"

namespace vexaline {
namespace {

constexpr std::uint64_t kPow5[16] = {1,          5,           25,           125,           625,
                                     3125,       15625,       78125,        390625,        1953125,
                                     9765625,    48828125,    244140625,    1220703125,    6103515625,
                                     30517578125};
constexpr double kPow10[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

__extension__ typedef unsigned __int128 U128;

// |v| × 10^decimals rounded half to even, exactly: v = m × 2^e, so the
// scaled value is m × 5^d × 2^(e+d), an integer shifted by a power of two.
// False when v is not finite or the result does not fit 64 bits.
bool ScaledRound(double v, int decimals, std::uint64_t& q) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    if (biased == 0x7FF) return false;
    int e = -1074;
    if (biased != 0) {
        mantissa |= std::uint64_t(1) << 52;
        e = biased - 1075;
    }
    U128 n = static_cast<U128>(mantissa) * kPow5[decimals];  // < 2^88
    int shift = e + decimals;
    if (shift >= 0) {
        if (shift >= 64 || (n >> (64 - shift)) != 0) return false;
        q = static_cast<std::uint64_t>(n << shift);
        return true;
    }
    int s = -shift;
    if (s >= 120) {  // n < 2^88 is far below half of 2^120
        q = 0;
        return true;
    }
    U128 whole = n >> s;
    U128 rest = n - (whole << s);
    U128 half = static_cast<U128>(1) << (s - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    if ((whole >> 64) != 0) return false;
    q = static_cast<std::uint64_t>(whole);
    return true;
}

bool ValidDecimals(int decimals) { return decimals >= 0 && decimals <= 15; }

}  // namespace

void AppendFixed(std::string& out, double v, int decimals) {
    std::uint64_t q;
    if (!ValidDecimals(decimals) || !ScaledRound(v, decimals, q)) {
        out += Format("%.*f", decimals, v);
        return;
    }
    char digits[40];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + q % 10);
        q /= 10;
    } while (q != 0);
    while (n <= decimals) digits[n++] = '0';  // at least one digit before the point
    char text[48];
    int len = 0;
    if (std::signbit(v)) text[len++] = '-';  // printf keeps the sign of -0.0 and of -0.0001
    while (n > decimals) text[len++] = digits[--n];
    if (decimals > 0) text[len++] = '.';
    while (n > 0) text[len++] = digits[--n];
    out.append(text, static_cast<std::size_t>(len));
}

std::string MillimetreText(double v) {
    std::string out;
    AppendFixed(out, v, 3);
    return out == "-0.000" ? "0.000" : out;
}

double FixedRoundTrip(double v, int decimals) {
    std::uint64_t q;
    if (ValidDecimals(decimals) && ScaledRound(v, decimals, q) && q <= (std::uint64_t(1) << 53)) {
        // q and 10^d are exact doubles and division rounds correctly, so
        // this is the correctly rounded value of the decimal text: strtod's.
        double r = static_cast<double>(q) / kPow10[decimals];
        return std::signbit(v) ? -r : r;
    }
    std::string text;
    AppendFixed(text, v, decimals);
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace vexaline
