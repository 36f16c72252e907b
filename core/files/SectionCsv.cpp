#include "core/files/SectionCsv.h"

#include <iterator>

#include "core/files/CsvTable.h"
#include "core/files/ProfileCsv.h"
#include "core/text/Texts.h"

namespace vexaline {

TemplateCsvRead ReadTemplateCsv(const std::string& bytes) {
    TemplateCsvRead read;
    const std::vector<std::string> titles(std::begin(text::kTemplateColumns), std::end(text::kTemplateColumns));
    const CsvTableRead t = ReadNamedTable(bytes, titles, kMaxTemplateRows, text::kTemplateTableName,
                                          text::kTemplateCsvHeader, read.strMessage);
    for (const CsvRow& r : t.rows) {
        const std::vector<std::string>& f = r.fields;
        read.rows.push_back(TemplateRow{r.nLine, f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
    }
    return read;
}

WideningCsvRead ReadWideningCsv(const std::string& bytes) {
    WideningCsvRead read;
    const std::vector<std::string> titles(std::begin(text::kWideningColumns), std::end(text::kWideningColumns));
    const CsvTableRead t = ReadNamedTable(bytes, titles, kMaxWideningRows, text::kWideningTableName,
                                          text::kWideningCsvHeader, read.strMessage);
    for (const CsvRow& r : t.rows) read.rows.push_back(WideningRow{r.nLine, r.fields[0], r.fields[1], r.fields[2]});
    return read;
}

std::string TemplateCsvText(const std::vector<TemplateRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kTemplateCsvHeader) + "\r\n";
    for (const TemplateRow& r : rows)
        out += CsvLine({r.strSide, r.strName, r.strWidth, r.strSlope, r.strRatio, r.strBermHeight, r.strBermWidth});
    return out;
}

std::string WideningCsvText(const std::vector<WideningRow>& rows) {
    std::string out = kUtf8Bom + std::string(text::kWideningCsvHeader) + "\r\n";
    for (const WideningRow& r : rows) out += CsvLine({r.strStation, r.strLeft, r.strRight});
    return out;
}

}  // namespace vexaline
