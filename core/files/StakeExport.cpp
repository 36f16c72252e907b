#include "core/files/StakeExport.h"

#include <cstdlib>

#include "core/files/CsvTable.h"
#include "core/files/ResultsExport.h"
#include "core/files/TextFile.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// The list's column titles: its header line cut at runs of blanks.
std::vector<std::string> ColumnTitles(const ResultSet& results) {
    std::vector<std::string> titles;
    const std::string& header = ResultHeader(results.mode, results.bHeights);
    for (std::size_t at = header.find_first_not_of(' '); at != std::string::npos;) {
        std::size_t end = header.find(' ', at);
        titles.push_back(header.substr(at, end - at));
        at = end == std::string::npos ? end : header.find_first_not_of(' ', end);
    }
    return titles;
}

}  // namespace

void AppendStakeCassDat(std::string& out, const StakeResult& r) {
    if (r.IsMessage()) return;
    out += StakeNameOf(r);
    out += ",," + MillimetreText(r.point.Y) + "," + MillimetreText(r.point.X) + ",";
    out += MillimetreText(r.elevation ? *r.elevation : 0.0) + "\r\n";
}

std::string StakesCassDat(const ResultSet& results) {
    std::string bytes;
    for (const StakeResult& r : results.rows) AppendStakeCassDat(bytes, r);
    return bytes;
}

std::string StakesCsvHead(const ResultSet& results) {
    std::string bytes = "\xEF\xBB\xBF";
    if (results.source)
        bytes += GbkCsvLine({Gbk(text::kCsvRoadLabel), Utf8ToGbkLossy(results.source->strFile),
                             Gbk(text::kCsvComputedLabel), ComputedTimeText(results.source->computed)});
    bytes += GbkCsvLine(ColumnTitles(results));
    return bytes;
}

void AppendStakeCsv(std::string& out, const ResultSet& results, const StakeResult& r) {
    out += GbkCsvLine(ResultFields(results, r));
}

std::string StakesCsv(const ResultSet& results) {
    std::string bytes = StakesCsvHead(results);
    for (const StakeResult& r : results.rows) AppendStakeCsv(bytes, results, r);
    return bytes;
}

std::optional<std::string> StakesBytes(StakeFormat format, const ResultSet& results, const Alignment& road) {
    switch (format) {
    case StakeFormat::Dxf: {
        std::string bytes = StakesDxf(results, road);
        if (bytes.empty()) return std::nullopt;
        return bytes;
    }
    case StakeFormat::CassDat: return StakesCassDat(results);
    case StakeFormat::Csv: break;
    }
    return StakesCsv(results);
}

bool WriteStakes(const std::string& path, StakeFormat format, const ResultSet& results, const Alignment& road) {
    std::optional<std::string> bytes = StakesBytes(format, results, road);
    return bytes && WriteFileAtomically(path, *bytes);
}

}  // namespace vexaline
