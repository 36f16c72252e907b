#include "core/files/PointFile.h"

#include <cmath>

#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

std::string PointHeader() { return Gbk(text::kPointHeader); }

bool MakePointLine(const std::string& name, double x, double y, std::string& line) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    std::string strX = Format("%.3f", x);
    std::string strY = Format("%.3f", y);
    if (name.size() > 8 || strX.size() > 12 || strY.size() > 10) return false;
    line = PadRight(name, 8) + PadRight(strX, 12) + PadRight(strY, 10);
    return true;
}

PointRecord SplitPointLine(const std::string& line) {
    PointRecord point;
    point.strName = Field(line, 0, 8);
    point.dX = ReadDoubleOr0(Field(line, 8, 12));
    point.dY = ReadDoubleOr0(Field(line, 20));
    return point;
}

std::vector<std::string> ParsePointFile(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        // A CR or two before the LF belong to the line end.
        for (int i = 0; i < 2 && end > start && bytes[end - 1] == '\r'; ++i) --end;
        lines.push_back(bytes.substr(start, end - start));
        start = next;
    }
    std::string header = PointHeader();
    if (lines.empty() || Field(lines[0], 0) != Field(header, 0)) lines.insert(lines.begin(), header);
    return lines;
}

std::string PointFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    bytes.reserve(lines.size() * (kPointLineBytes + 2));
    for (const std::string& line : lines) {
        bytes.append(line, 0, kPointLineBytes);
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace vexaline
