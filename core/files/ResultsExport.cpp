#include "core/files/ResultsExport.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// The name in GBK for line 1, with "?" for a character GBK cannot hold: the
// name is only a caption there, and the file is still worth writing.
std::string NameForLine(const std::string& utf8) {
    std::string gbk;
    if (Utf8ToGbk(utf8, gbk)) return gbk;
    std::string out, one;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        out += Utf8ToGbk(utf8.substr(i, n), one) ? one : "?";
        i += n;
    }
    return out;
}

// A field of a coordinate result line read as atof reads it (0 for a line
// that holds a message instead of a stake), appended with "%.3f".
void AppendNumber(std::string& out, const std::string& line, std::size_t offset, std::size_t width) {
    char field[32] = {};
    if (offset < line.size()) line.copy(field, std::min(width, line.size() - offset), offset);
    char text[400];  // "%.3f" of the largest double fits
    std::to_chars_result r = std::to_chars(text, text + sizeof text, std::strtod(field, nullptr),
                                           std::chars_format::fixed, 3);
    out.append(text, r.ptr);
}

}  // namespace

std::string ResultsFileName(double startStation, double endStation, double interval, double offset) {
    return Format(text::kResultsFileName, startStation, endStation, interval, offset);
}

std::string ComputedDateLine(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char date[128];
    std::size_t n = std::strftime(date, sizeof date, text::kComputedDateFormat, &local);
    return Gbk(text::kComputedLabel) + Gbk(std::string(date, n).c_str());
}

std::string ResultsFileBytes(const std::vector<std::string>& lines, int resultMode, int fileType,
                             const std::string& fileName, std::time_t when) {
    const bool cad = resultMode == 0 && fileType != 1;
    const char* header = resultMode != 0 ? text::kSettingOutHeader : cad ? text::kCadHeader : text::kCoordinatesHeader;

    std::string out = Gbk(text::kProjectLabel) + NameForLine(fileName) + "\r\n";
    out += ComputedDateLine(when) + "\r\n";
    out += Gbk(header) + "\r\n";

    std::size_t size = out.size();
    for (std::size_t i = 1; i < lines.size(); ++i) size += cad ? 32 : lines[i].size() + 2;
    out.reserve(size);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (cad) {
            AppendNumber(out, lines[i], 12, 14);
            out += ',';
            AppendNumber(out, lines[i], 26, 12);
            out += "\r\n";
        } else {
            out += lines[i];
            out += "\r\n";
        }
    }
    return out;
}

bool WriteResultsFile(const std::string& path, const std::vector<std::string>& lines, int resultMode,
                      int fileType, const std::string& fileName, std::time_t when) {
    return WriteFileAtomically(path, ResultsFileBytes(lines, resultMode, fileType, fileName, when));
}

}  // namespace vexaline
