#include "core/files/ProfileCsv.h"

#include <iterator>

#include "core/files/CsvTable.h"
#include "core/text/FixedText.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

CsvTableRead ReadNamedTable(const std::string& bytes, const std::vector<std::string>& titles, int maxRows,
                       const char* name, const char* header, std::string& message) {
    const int maxLines = maxRows + 1;
    const CsvTableRead t = ReadCsvTable(bytes, titles, maxLines, kTableMaxLineBytes);
    const int columns = static_cast<int>(titles.size());
    switch (t.fault) {
    case CsvFault::None: break;
    case CsvFault::NotText: message = Format(text::kCsvNotText, name); break;
    case CsvFault::TooLong: message = Format(text::kCsvTooLong, name, maxLines, kTableMaxLineBytes); break;
    case CsvFault::BadHeader: message = Format(text::kCsvBadHeader, name, header); break;
    case CsvFault::TooManyFields: message = Format(text::kCsvTooManyFields, name, t.nLine, columns); break;
    case CsvFault::BadQuote: message = Format(text::kCsvBadQuote, name, t.nLine); break;
    }
    return t;
}

namespace {

std::string Percent(double grade) { return MillimetreText(grade * 100); }

}  // namespace

GradeCsvRead ReadGradeCsv(const std::string& bytes) {
    GradeCsvRead read;
    const std::vector<std::string> titles(std::begin(text::kGradeColumns), std::end(text::kGradeColumns));
    const CsvTableRead t =
        ReadNamedTable(bytes, titles, kMaxGradePoints, text::kGradeTableName, text::kGradeCsvHeader, read.strMessage);
    for (const CsvRow& r : t.rows) read.rows.push_back(GradeRow{r.nLine, r.fields[0], r.fields[1], r.fields[2], r.fields[3]});
    return read;
}

SlopeCsvRead ReadSlopeCsv(const std::string& bytes) {
    SlopeCsvRead read;
    const std::vector<std::string> titles(std::begin(text::kSlopeColumns), std::end(text::kSlopeColumns));
    const CsvTableRead t =
        ReadNamedTable(bytes, titles, kMaxSlopeRows, text::kSlopeTableName, text::kSlopeCsvHeader, read.strMessage);
    for (const CsvRow& r : t.rows) read.rows.push_back(SlopeRow{r.nLine, r.fields[0], r.fields[1], r.fields[2]});
    return read;
}

EquationCsvRead ReadEquationCsv(const std::string& bytes) {
    EquationCsvRead read;
    const std::vector<std::string> titles(std::begin(text::kChainColumns), std::end(text::kChainColumns));
    const CsvTableRead t =
        ReadNamedTable(bytes, titles, kMaxEquations, text::kChainTableName, text::kChainCsvHeader, read.strMessage);
    for (const CsvRow& r : t.rows) read.rows.push_back(EquationRow{r.nLine, r.fields[0], r.fields[1]});
    return read;
}

std::string EquationCsvText(const std::vector<EquationRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kChainCsvHeader) + "\r\n";
    for (const EquationRow& r : rows) out += CsvLine({r.strBack, r.strAhead});
    return out;
}

std::string GradeCsvText(const std::vector<GradeRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kGradeCsvHeader) + "\r\n";
    for (const GradeRow& r : NamedGradeRows(rows)) out += CsvLine({r.strName, r.strStation, r.strElevation, r.strRadius});
    return out;
}

std::string SlopeCsvText(const std::vector<SlopeRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kSlopeCsvHeader) + "\r\n";
    for (const SlopeRow& r : rows) out += CsvLine({r.strStation, r.strLeft, r.strRight});
    return out;
}

std::vector<std::string> VerticalCurveCells(const Profile& profile, std::size_t k, const Chainage& chain) {
    const GradePoint& p = profile.points[k];
    const bool first = k == 0, last = k + 1 == profile.points.size();
    std::vector<std::string> cells = {p.strName, KStationOf(chain, p.dStation), MillimetreText(p.dElevation),
                                      first ? std::string() : Percent(p.dGradeIn),
                                      last ? std::string() : Percent(p.dGradeOut)};
    if (first || last) {
        cells.resize(12);
        return cells;
    }
    const char* kind = p.kind == CurveKind::Crest ? text::kCrest : p.kind == CurveKind::Sag ? text::kSag : "";
    cells.insert(cells.end(), {MillimetreText(p.dRadius), MillimetreText(p.dTangent), MillimetreText(p.dLength),
                               MillimetreText(p.dExternal), kind, KStationOf(chain, p.dStart),
                               KStationOf(chain, p.dEnd)});
    return cells;
}

std::string VerticalCurveTableCsv(const Profile& profile, const Chainage& chain) {
    std::string out = kUtf8Bom + std::string(text::kVerticalCurveCsvHeader) + "\r\n";
    for (std::size_t k = 0; k < profile.points.size(); ++k) out += CsvLine(VerticalCurveCells(profile, k, chain));
    return out;
}

}  // namespace vexaline
