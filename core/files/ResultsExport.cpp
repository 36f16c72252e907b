#include "core/files/ResultsExport.h"

#include <algorithm>
#include <charconv>

#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

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

std::string ResultsFileName(const std::string& startStation, const std::string& endStation, double interval,
                            double offset) {
    return Format(text::kResultsFileNameChain, startStation.c_str(), endStation.c_str(), interval, offset);
}

std::string ComputedTimeText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char date[128];
    std::size_t n = std::strftime(date, sizeof date, text::kComputedDateFormat, &local);
    return Gbk(std::string(date, n).c_str());
}

std::string ComputedDateLine(std::time_t when) { return Gbk(text::kComputedLabel) + "  " + ComputedTimeText(when); }

namespace {

bool CadPairs(const ResultSet& results, ResultsLayout layout) {
    return results.mode == ResultMode::Coordinates && layout == ResultsLayout::Cad;
}

}  // namespace

std::string ResultsFileHead(const ResultSet& results, ResultsLayout layout, const std::string& fileName,
                            std::time_t when) {
    // The name is only a caption: "?" where GBK lacks a character.
    std::string out = Gbk(text::kProjectLabel) + Utf8ToGbkLossy(fileName) + "\r\n";
    const std::optional<ResultSource>& source = results.source;
    out += ComputedDateLine(source ? source->computed : when);
    if (source && !source->strFile.empty()) out += Gbk(text::kComputedFromLabel) + Utf8ToGbkLossy(source->strFile);
    out += "\r\n";
    out += CadPairs(results, layout) ? Gbk(text::kCadHeader) : ResultHeader(results.mode, results.bHeights);
    out += "\r\n";
    return out;
}

void AppendResultsFileRow(std::string& out, const ResultSet& results, ResultsLayout layout, const StakeResult& row) {
    if (CadPairs(results, layout)) {
        // A message row has no point: it reads as 0, as it always has.
        AppendNumber(out, row.IsMessage() ? 0.0 : row.point.X);
        out += ',';
        AppendNumber(out, row.IsMessage() ? 0.0 : row.point.Y);
    } else {
        AppendResultLine(out, results, row);
    }
    out += "\r\n";
}

std::string ResultsFileBytes(const ResultSet& results, ResultsLayout layout, const std::string& fileName,
                             std::time_t when) {
    std::string out = ResultsFileHead(results, layout, fileName, when);
    out.reserve(out.size() + results.rows.size() * (CadPairs(results, layout) ? 32 : 66));
    for (const StakeResult& row : results.rows) AppendResultsFileRow(out, results, layout, row);
    return out;
}

bool WriteResultsFile(const std::string& path, const ResultSet& results, ResultsLayout layout,
                      const std::string& fileName, std::time_t when) {
    return WriteFileAtomically(path, ResultsFileBytes(results, layout, fileName, when));
}

}  // namespace vexaline
