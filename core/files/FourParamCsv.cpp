#include "core/files/FourParamCsv.h"

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "core/files/ProfileCsv.h"
#include "core/text/DmsText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

constexpr double kDegrees = 180 / kPi;

// The shortest "%g" text that reads back to the same double.
std::string ExactText(double v) {
    for (int digits = 15;; ++digits) {
        const std::string text = Format("%.*g", digits, v);
        if (digits == 17 || std::strtod(text.c_str(), nullptr) == v) return text;
    }
}

}  // namespace

std::string FourParamCsvText(const FourParam& p) {
    std::string out = kUtf8Bom + std::string(text::kFourCsvHeader) + "\r\n";
    out += CsvLine({text::kFourNames[0], Format("%.6f", p.dDx)});
    out += CsvLine({text::kFourNames[1], Format("%.6f", p.dDy)});
    out += CsvLine({text::kFourNames[2], DmsDegreesText(p.dRotation * kDegrees, 5)});
    out += CsvLine({text::kFourNames[3], ExactText(p.dScale)});
    return out;
}

FourParamRead ReadFourParamCsv(const std::string& bytes) {
    FourParamRead read;
    const std::vector<std::string> titles(std::begin(text::kFourColumns), std::end(text::kFourColumns));
    const CsvTableRead t = ReadNamedTable(bytes, titles, 16, text::kFourTableName, text::kFourCsvHeader, read.strMessage);
    if (!read.Ok()) return read;
    std::optional<double> values[4];
    for (const CsvRow& r : t.rows) {
        const std::string name = TrimBlanks(r.fields[0]);
        int k = 0;
        while (k < 4 && name != text::kFourNames[k]) ++k;
        if (k == 4) return read.strMessage = Format(text::kFourUnknownRow, r.nLine, name.c_str()), read;
        if (values[k]) return read.strMessage = Format(text::kFourTwice, r.nLine, name.c_str()), read;
        values[k] = k == 2 ? ReadDmsDegrees(r.fields[1]) : ParseNumber(r.fields[1]);
        if (!values[k])
            return read.strMessage = Format(text::kFourNotANumber, r.nLine, name.c_str(), r.fields[1].c_str(),
                                            k == 2 ? text::kFourAngle : text::kFourNumber),
                   read;
    }
    for (int k = 0; k < 4; ++k)
        if (!values[k]) return read.strMessage = Format(text::kFourMissing, text::kFourNames[k]), read;
    read.params = FourParam{*values[0], *values[1], *values[2] / kDegrees, *values[3]};
    read.strMessage = FourParamRefusal(read.params);
    return read;
}

CommonPointsRead ReadCommonPointsCsv(const std::string& bytes) {
    CommonPointsRead read;
    const std::vector<std::string> titles(std::begin(text::kCommonColumns), std::end(text::kCommonColumns));
    const CsvTableRead t = ReadNamedTable(bytes, titles, static_cast<int>(kMaxCommonPoints), text::kCommonTableName,
                                          text::kCommonCsvHeader, read.strMessage);
    return read.Ok() ? CommonPointsOf(t.rows) : read;
}

CommonPointsRead CommonPointsOf(const std::vector<CsvRow>& rows) {
    CommonPointsRead read;
    for (const CsvRow& r : rows) {
        CommonPoint p{TrimBlanks(r.fields[0]), {}, {}};
        if (p.strName.empty()) return read.strMessage = Format(text::kCommonNoName, r.nLine), read;
        double* at[4] = {&p.source.X, &p.source.Y, &p.target.X, &p.target.Y};
        for (int k = 0; k < 4; ++k) {
            const std::optional<double> v = ParseNumber(r.fields[k + 1]);
            if (!v || !IsSurveyCoordinate(*v))
                return read.strMessage = Format(text::kCommonNotANumber, r.nLine, p.strName.c_str(),
                                                text::kCommonColumns[k + 1], r.fields[k + 1].c_str()),
                       read;
            *at[k] = *v;
        }
        read.points.push_back(p);
    }
    return read;
}

}  // namespace vexaline
