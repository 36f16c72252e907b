#include "core/text/TextFields.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace vexaline {

std::string Field(const std::string& line, std::size_t offset, std::size_t width) {
    if (offset >= line.size()) return std::string();
    std::string f = line.substr(offset, width);
    std::size_t end = f.find_last_not_of(' ');
    f.erase(end == std::string::npos ? 0 : end + 1);
    return f;
}

bool ReadDouble(const std::string& text, double& value) {
    double v;
    if (std::sscanf(text.c_str(), "%lf", &v) != 1) return false;
    value = v;
    return true;
}

std::optional<double> ParseNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    std::string t = text.substr(first, last - first + 1);
    if (t[0] == '+') t.erase(0, 1);  // from_chars takes no plus sign
    if (t.empty() || t[0] == '+' || (text[first] == '+' && t[0] == '-')) return std::nullopt;
    double v = 0;
    const char* end = t.data() + t.size();
    const std::from_chars_result r = std::from_chars(t.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string TrimBlanks(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

double ReadDoubleOr0(const std::string& text) {
    double v = 0;
    ReadDouble(text, v);
    return v;
}

std::string Format(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<std::size_t>(n));
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(out.data(), out.size(), format, args);
    va_end(args);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace vexaline
