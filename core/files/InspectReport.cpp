#include "core/files/InspectReport.h"

#include "core/files/CsvTable.h"
#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

std::string Metres(const std::optional<double>& v) { return v ? MillimetreText(*v) : std::string(); }

std::string MetresOrNone(const std::optional<double>& v) { return v ? MillimetreText(*v) : Gbk(text::kInspectNone); }

std::string Tolerance(const std::optional<double>& metres) {
    return metres ? Format(Gbk(text::kInspectMillimetres).c_str(), *metres * 1000) : Gbk(text::kInspectNotJudged);
}

// Widths of the text's columns, bytes.
constexpr std::size_t kWidths[] = {16, 14, 10, 9, 9, 9, 9, 9, 11, 11, 9, 6};

std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (const char* t : text::kInspectTitles) titles.push_back(Gbk(t));
    return titles;
}

}  // namespace

std::vector<std::string> InspectFields(const InspectRow& row) {
    const std::string station = !row.bFound ? Gbk(text::kInspectNotFound)
                                : row.chain ? ChainKStation(*row.chain)
                                            : KStation(row.dStation);
    const std::string offset = row.bFound ? MillimetreText(row.dOffset) : std::string();
    return {row.point.strName, station, offset, Metres(row.dx), Metres(row.dy), Metres(row.d),
            Metres(row.dAlong), Metres(row.dAcross), Metres(row.designH), Metres(row.point.height),
            Metres(row.dh), Gbk(row.bIn ? text::kInspectIn : text::kInspectOut)};
}

std::string InspectTolerancesText(const Tolerances& tolerances) {
    return Format(Gbk(text::kInspectTolerances).c_str(), Tolerance(tolerances.plan).c_str(),
                  Tolerance(tolerances.height).c_str());
}

std::string InspectSummaryText(const InspectSummary& s) {
    return Format(Gbk(text::kInspectSummary).c_str(), s.nPoints, s.nIn, s.nOut, MetresOrNone(s.maxD).c_str(),
                  MetresOrNone(s.rmsD).c_str(), MetresOrNone(s.maxDh).c_str(), MetresOrNone(s.rmsDh).c_str());
}

std::string InspectText(const Inspection& inspection, const Tolerances& tolerances) {
    auto line = [](const std::vector<std::string>& fields) {
        std::string out;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::size_t start = out.size();
            out += fields[i];
            if (i + 1 < fields.size()) PadColumn(out, start, kWidths[i]);
        }
        return out + "\r\n";
    };
    std::string out = InspectTolerancesText(tolerances) + "\r\n" + line(Titles());
    for (const InspectRow& row : inspection.rows) out += line(InspectFields(row));
    out += InspectSummaryText(inspection.summary) + "\r\n";
    return inspection.bZeroHeightsIgnored ? out + Gbk(text::kInspectZeroHeights) + "\r\n" : out;
}

std::string InspectCsv(const Inspection& inspection, const Tolerances& tolerances) {
    std::string out = kUtf8Bom + GbkCsvLine({InspectTolerancesText(tolerances)}) + GbkCsvLine(Titles());
    for (const InspectRow& row : inspection.rows) out += GbkCsvLine(InspectFields(row));
    out += GbkCsvLine({InspectSummaryText(inspection.summary)});
    return inspection.bZeroHeightsIgnored ? out + GbkCsvLine({Gbk(text::kInspectZeroHeights)}) : out;
}

}  // namespace vexaline
