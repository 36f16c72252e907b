#include "core/files/ResultsExport.h"

#include <algorithm>
#include <charconv>

#include "core/text/Gbk.h"
#include "core/text/ResultText.h"
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

// "%.3f" of a coordinate.
void AppendNumber(std::string& out, double v) {
    char text[400];  // "%.3f" of the largest double fits
    std::to_chars_result r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3);
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

std::string ResultsFileBytes(const ResultSet& results, ResultsLayout layout, const std::string& fileName,
                             std::time_t when) {
    const bool cad = results.mode == ResultMode::Coordinates && layout == ResultsLayout::Cad;
    const std::string header = cad ? Gbk(text::kCadHeader) : ResultHeader(results.mode);

    std::string out = Gbk(text::kProjectLabel) + NameForLine(fileName) + "\r\n";
    out += ComputedDateLine(when) + "\r\n";
    out += header + "\r\n";
    out.reserve(out.size() + results.rows.size() * (cad ? 32 : 66));
    for (const StakeResult& row : results.rows) {
        if (cad) {
            // A message row has no point: it reads as 0, as it always has.
            AppendNumber(out, row.IsMessage() ? 0.0 : row.point.X);
            out += ',';
            AppendNumber(out, row.IsMessage() ? 0.0 : row.point.Y);
        } else {
            AppendResultLine(out, results, row);
        }
        out += "\r\n";
    }
    return out;
}

bool WriteResultsFile(const std::string& path, const ResultSet& results, ResultsLayout layout,
                      const std::string& fileName, std::time_t when) {
    return WriteFileAtomically(path, ResultsFileBytes(results, layout, fileName, when));
}

}  // namespace vexaline
