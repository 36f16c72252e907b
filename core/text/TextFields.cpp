#include "core/text/TextFields.h"

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
