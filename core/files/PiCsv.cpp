#include "core/files/PiCsv.h"

#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
constexpr int kPiFields = 6;

// The file as UTF-8 text, or false.
bool AsUtf8(const std::string& bytes, std::string& text) {
    if (bytes.compare(0, kBom.size(), kBom) == 0) {
        text = bytes.substr(kBom.size());
        return IsUtf8(text);
    }
    if (IsUtf8(bytes)) {
        text = bytes;
        return true;
    }
    text = GbkToUtf8(bytes);
    return text.find("\xEF\xBF\xBD") == std::string::npos;  // no replacement character
}

std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// The fields of one line; false for an unmatched quote.
bool SplitFields(const std::string& line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '"' && Trim(fields.back()).empty()) {
            fields.back().clear();
            quoted = true;
        } else {
            fields.back() += c;
        }
    }
    return !quoted;
}

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string Line(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + Quoted(fields[i]);
    return out + "\r\n";
}

PiCsvRead Refused(std::string message) {
    PiCsvRead r;
    r.strMessage = std::move(message);
    return r;
}

// Line n (1-based) of the text: its fields, checked and padded to six.
std::string ReadLine(const std::string& line, int n, std::vector<std::string>& fields) {
    if (line.size() > static_cast<std::size_t>(kPiCsvMaxLineBytes))
        return Format(text::kPiCsvTooLong, kPiCsvMaxRows, kPiCsvMaxLineBytes);
    if (!SplitFields(line, fields)) return Format(text::kPiCsvBadQuote, n);
    while (fields.size() > static_cast<std::size_t>(kPiFields) && Trim(fields.back()).empty()) fields.pop_back();
    if (fields.size() > static_cast<std::size_t>(kPiFields)) return Format(text::kPiCsvTooManyFields, n);
    fields.resize(kPiFields);
    return std::string();
}

}  // namespace

PiCsvRead ReadPiCsv(const std::string& bytes) {
    std::string text;
    if (!AsUtf8(bytes, text)) return Refused(text::kPiCsvNotText);
    PiCsvRead read;
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (int n = 1; at < text.size(); ++n) {
        if (n > kPiCsvMaxRows) return Refused(Format(text::kPiCsvTooLong, kPiCsvMaxRows, kPiCsvMaxLineBytes));
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string m = ReadLine(line, n, fields);
        if (!m.empty()) return Refused(m);
        if (n == 1) {
            for (int f = 0; f < kPiFields; ++f) {
                if (Trim(fields[f]) != text::kPiColumns[f]) return Refused(text::kPiCsvBadHeader);
            }
            continue;
        }
        bool blank = true;
        for (const std::string& f : fields) blank = blank && Trim(f).empty();
        if (blank) continue;
        read.rows.push_back(PiRow{n, fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
    }
    if (text.empty()) return Refused(text::kPiCsvBadHeader);
    return read;
}

std::string PiCsvText(const std::vector<PiRow>& rows) {
    std::string out = kBom + text::kPiCsvHeader + "\r\n";
    for (const PiRow& r : rows) out += Line({r.strName, r.strX, r.strY, r.strRadius, r.strLs1, r.strLs2});
    return out;
}

std::vector<std::string> CurveCells(const CurveRecord& c) {
    return {c.strName,          DeflectionText(c.dDeflection), MillimetreText(c.dRadius), MillimetreText(c.dLs1),
            MillimetreText(c.dLs2), MillimetreText(c.dT1),           MillimetreText(c.dT2),     MillimetreText(c.dLength),
            MillimetreText(c.dExternal), KStation(c.dZH),         KStation(c.dHY),        KStation(c.dQZ),
            KStation(c.dYH),    KStation(c.dHZ)};
}

std::string CurveTableCsv(const std::vector<CurveRecord>& curves) {
    std::string out = kBom + text::kPiCurveCsvHeader + "\r\n";
    for (const CurveRecord& c : curves) out += Line(CurveCells(c));
    return out;
}

}  // namespace vexaline
