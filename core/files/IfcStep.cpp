#include "core/files/IfcStep.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vexaline::ifc {
namespace {

// SplitMix64: spreads a seed and a count over all 64 bits.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// The code points of valid UTF-8 (the export refuses other names).
std::vector<std::uint32_t> CodePoints(const std::string& utf8) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        std::uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

int StepData::Add(const char* type, const std::string& args) {
    const int id = next_++;
    text_ += '#';
    text_ += std::to_string(id);
    text_ += '=';
    text_ += type;
    text_ += '(';
    text_ += args;
    text_ += ");\n";
    return id;
}

std::string StepData::NewGuid() {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
    const std::uint64_t hi = Mix(seed_ ^ Mix(2 * guids_)), lo = Mix(seed_ ^ Mix(2 * guids_ + 1));
    ++guids_;
    // 128 bits as 22 digits of the IFC alphabet: the first holds the top
    // two bits, each other six.
    std::string g(22, '0');
    g[0] = kDigits[hi >> 62];
    for (int k = 1; k < 22; ++k) {
        const int shift = 126 - 6 * k;  // of the lowest bit of digit k
        std::uint64_t bits = shift >= 64 ? hi >> (shift - 64) : (lo >> shift) | (shift > 0 ? hi << (64 - shift) : 0);
        g[static_cast<std::size_t>(k)] = kDigits[bits & 63];
    }
    return "'" + g + "'";
}

std::string Real(double v) {
    if (v == 0) return "0.";
    // Plain digits for the magnitudes of coordinates and lengths, an
    // exponent for the rest (a tiny gradient change, a huge clothoid).
    char buf[400];
    const double m = std::fabs(v);
    const std::chars_format form = m >= 1e-5 && m < 1e16 ? std::chars_format::fixed : std::chars_format::scientific;
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v, form);
    std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e), exponent = e == std::string::npos ? "" : s.substr(e + 1);
    if (mantissa.find('.') == std::string::npos) mantissa += '.';
    return exponent.empty() ? mantissa : mantissa + "E" + exponent;
}

std::string Ref(int id) { return id == 0 ? "$" : "#" + std::to_string(id); }

std::string Refs(const std::vector<int>& ids) {
    std::string s = "(";
    for (std::size_t i = 0; i < ids.size(); ++i) s += (i ? ",#" : "#") + std::to_string(ids[i]);
    return s + ")";
}

std::string Reals(const std::vector<double>& values) {
    std::string s = "(";
    for (std::size_t i = 0; i < values.size(); ++i) s += (i ? "," : "") + Real(values[i]);
    return s + ")";
}

std::string Str(const std::string& utf8) {
    std::string s = "'";
    for (std::uint32_t cp : CodePoints(utf8)) {
        char hex[20];
        if (cp == '\'' || cp == '\\') s += std::string(2, static_cast<char>(cp));
        else if (cp >= 0x20 && cp < 0x7F) s += static_cast<char>(cp);
        else if (cp < 0x10000) std::snprintf(hex, sizeof hex, "\\X2\\%04X\\X0\\", cp), s += hex;
        else std::snprintf(hex, sizeof hex, "\\X4\\%08X\\X0\\", cp), s += hex;
    }
    return s + "'";
}

std::string Length(double v) { return "IFCLENGTHMEASURE(" + Real(v) + ")"; }

std::uint64_t Fnv1a(const std::string& bytes, std::uint64_t h) {
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ULL;
    return h;
}

}  // namespace vexaline::ifc
