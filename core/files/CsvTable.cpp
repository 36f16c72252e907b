#include "core/files/CsvTable.h"

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"

namespace vexaline {
namespace {

// The file as UTF-8 text, or false.
bool AsUtf8(const std::string& bytes, std::string& text) {
    const std::string bom = kUtf8Bom;
    if (bytes.compare(0, bom.size(), bom) == 0) {
        text = bytes.substr(bom.size());
        return IsUtf8(text);
    }
    if (IsUtf8(bytes)) {
        text = bytes;
        return true;
    }
    text = GbkToUtf8(bytes);
    return text.find("\xEF\xBF\xBD") == std::string::npos;  // no replacement character
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
        } else if (c == '"' && TrimBlanks(fields.back()).empty()) {
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

CsvTableRead Refused(CsvFault fault, int line) {
    CsvTableRead r;
    r.fault = fault;
    r.nLine = line;
    return r;
}

// Line n's fields, checked and padded to count.
CsvFault ReadLine(const std::string& line, std::size_t count, int maxLineBytes, std::vector<std::string>& fields) {
    if (line.size() > static_cast<std::size_t>(maxLineBytes)) return CsvFault::TooLong;
    if (!SplitFields(line, fields)) return CsvFault::BadQuote;
    while (fields.size() > count && TrimBlanks(fields.back()).empty()) fields.pop_back();
    if (fields.size() > count) return CsvFault::TooManyFields;
    fields.resize(count);
    return CsvFault::None;
}

}  // namespace

CsvTableRead ReadCsvTable(const std::string& bytes, const std::vector<std::string>& titles, int maxLines,
                          int maxLineBytes) {
    std::string text;
    if (!AsUtf8(bytes, text)) return Refused(CsvFault::NotText, 0);
    if (text.empty()) return Refused(CsvFault::BadHeader, 1);
    CsvTableRead read;
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (int n = 1; at < text.size(); ++n) {
        if (n > maxLines) return Refused(CsvFault::TooLong, n);
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const CsvFault fault = ReadLine(line, titles.size(), maxLineBytes, fields);
        if (fault != CsvFault::None) return Refused(fault, n);
        if (n == 1) {
            for (std::size_t f = 0; f < titles.size(); ++f) {
                if (TrimBlanks(fields[f]) != titles[f]) return Refused(CsvFault::BadHeader, 1);
            }
            continue;
        }
        bool blank = true;
        for (const std::string& f : fields) blank = blank && TrimBlanks(f).empty();
        if (!blank) read.rows.push_back(CsvRow{n, fields});
    }
    return read;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + Quoted(fields[i]);
    return out + "\r\n";
}

std::string GbkCsvLine(const std::vector<std::string>& gbkFields) {
    std::vector<std::string> utf8;
    for (const std::string& f : gbkFields) utf8.push_back(GbkToUtf8(f));
    return CsvLine(utf8);
}

}  // namespace vexaline
