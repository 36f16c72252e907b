#include "core/files/PiCsv.h"

#include <iterator>

#include "core/files/CsvTable.h"
#include "core/text/FixedText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

PiCsvRead ReadPiCsv(const std::string& bytes) {
    const std::vector<std::string> titles(std::begin(text::kPiColumns), std::end(text::kPiColumns));
    const CsvTableRead table = ReadCsvTable(bytes, titles, kPiCsvMaxRows, kPiCsvMaxLineBytes);
    PiCsvRead read;
    switch (table.fault) {
    case CsvFault::None: break;
    case CsvFault::NotText: read.strMessage = text::kPiCsvNotText; return read;
    case CsvFault::TooLong: read.strMessage = Format(text::kPiCsvTooLong, kPiCsvMaxRows, kPiCsvMaxLineBytes); return read;
    case CsvFault::BadHeader: read.strMessage = text::kPiCsvBadHeader; return read;
    case CsvFault::TooManyFields: read.strMessage = Format(text::kPiCsvTooManyFields, table.nLine); return read;
    case CsvFault::BadQuote: read.strMessage = Format(text::kPiCsvBadQuote, table.nLine); return read;
    }
    for (const CsvRow& r : table.rows)
        read.rows.push_back(PiRow{r.nLine, r.fields[0], r.fields[1], r.fields[2], r.fields[3], r.fields[4], r.fields[5]});
    return read;
}

std::string PiCsvText(const std::vector<PiRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kPiCsvHeader) + "\r\n";
    for (const PiRow& r : rows) out += CsvLine({r.strName, r.strX, r.strY, r.strRadius, r.strLs1, r.strLs2});
    return out;
}

std::vector<std::string> CurveCells(const CurveRecord& c, const Chainage& chain) {
    return {c.strName,          DeflectionText(c.dDeflection), MillimetreText(c.dRadius), MillimetreText(c.dLs1),
            MillimetreText(c.dLs2), MillimetreText(c.dT1),           MillimetreText(c.dT2),     MillimetreText(c.dLength),
            MillimetreText(c.dExternal), KStationOf(chain, c.dZH), KStationOf(chain, c.dHY),
            KStationOf(chain, c.dQZ),  KStationOf(chain, c.dYH), KStationOf(chain, c.dHZ)};
}

std::string CurveTableCsv(const std::vector<CurveRecord>& curves, const Chainage& chain) {
    std::string out = kUtf8Bom + std::string(text::kPiCurveCsvHeader) + "\r\n";
    for (const CurveRecord& c : curves) out += CsvLine(CurveCells(c, chain));
    return out;
}

}  // namespace vexaline
