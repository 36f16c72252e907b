#include "core/files/PastedRows.h"

#include <algorithm>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

struct PastedLine {
    int nLine;
    std::vector<std::string> fields;
};

std::vector<std::string> SplitLine(const std::string& line) {
    const char separator = line.find('\t') != std::string::npos ? '\t' : ',';
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || (!quoted && line[i] == separator)) {
            fields.push_back(TrimBlanks(field));
            field.clear();
        } else if (line[i] != '"') {
            field += line[i];
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else {
            quoted = !quoted;
        }
    }
    return fields;
}

// The non-blank lines, each cut into fields with trailing blank ones beyond
// columns dropped; false (message set) when the text is too long or has none.
bool SplitPasted(const std::string& utf8, std::size_t columns, std::vector<PastedLine>& out, std::string& message) {
    std::size_t start = 0;
    for (int n = 1; start < utf8.size(); ++n) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos) end = utf8.size();
        std::string line = utf8.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n > kPasteMaxRows || line.size() > static_cast<std::size_t>(kPasteMaxLineBytes)) {
            message = Format(text::kPasteTooLong, kPasteMaxRows, kPasteMaxLineBytes);
            return false;
        }
        std::vector<std::string> fields = SplitLine(line);
        while (fields.size() > columns && fields.back().empty()) fields.pop_back();
        bool blank = true;
        for (const std::string& f : fields) blank = blank && f.empty();
        if (!blank) out.push_back(PastedLine{n, std::move(fields)});
    }
    if (out.empty()) message = text::kPasteNothing;
    return !out.empty();
}

// Quoted where the field holds what would cut it.
std::string Cell(const std::string& field) {
    if (field.find_first_of("\t\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string TabLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + Cell(fields[i]);
    return line + "\n";
}

// Why a pasted control row cannot go into the list; empty when it can.
std::string ControlRowFault(const PastedLine& line, ControlRow& row) {
    const int n = line.nLine;
    if (line.fields.size() != kControlFieldCount)
        return Format(text::kPasteFieldCount, n, static_cast<int>(line.fields.size()));
    for (int i = 0; i < kControlFieldCount; ++i)
        if (!Utf8ToGbk(line.fields[static_cast<std::size_t>(i)], row.strField[i])) return Format(text::kPasteNotGbk, n);
    const RowCheck check = CheckRow(row);
    if (check.kind == RowCheck::Empty) {
        int empty = 0;
        while (!row.strField[empty].empty()) ++empty;
        return Format(text::kPasteEmptyField, n, text::kFieldNames[empty]);
    }
    if (check.kind == RowCheck::TooWide)
        return Format(text::kPasteTooWide, n, text::kFieldNames[check.nField], kControlLayout[check.nField].nWidth);
    const std::string& type = line.fields[kFieldLineType];
    for (const char* known : {text::kEndPoint, text::kStraight, text::kCircular, text::kTransition})
        if (type == known) return std::string();
    return Format(text::kPasteBadLineType, n, type.c_str());
}

constexpr std::size_t kPiColumnCount = 6;

// Why a pasted intersection point row cannot go into the table; empty when
// it can, its fields then made six.
std::string PiRowFault(PastedLine& line) {
    std::vector<std::string>& f = line.fields;
    if (f.size() > kPiColumnCount) return Format(text::kPastePiFieldCount, line.nLine);
    f.resize(kPiColumnCount);
    double ignored = 0;
    for (std::size_t c = 1; c < kPiColumnCount; ++c)
        if (!f[c].empty() && !ParsePiNumber(f[c], ignored))
            return Format(text::kPastePiNotANumber, line.nLine, text::kPiColumns[c], f[c].c_str());
    return std::string();
}

}  // namespace

PastedControlRows ParsePastedControlRows(const std::string& utf8) {
    PastedControlRows pasted;
    std::vector<PastedLine> lines;
    if (!SplitPasted(utf8, kControlFieldCount, lines, pasted.strMessage)) return pasted;
    for (const PastedLine& line : lines) {
        ControlRow row;
        pasted.strMessage = ControlRowFault(line, row);
        if (!pasted.Ok()) {
            pasted.rows.clear();
            return pasted;
        }
        pasted.rows.push_back(std::move(row));
    }
    return pasted;
}

std::string CopiedControlRows(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        const ControlRow row = SplitControlLine(line);
        std::vector<std::string> fields;
        for (const std::string& field : row.strField) fields.push_back(GbkToUtf8(field));
        text += TabLine(fields);
    }
    return text;
}

PastedPiRows ParsePastedPiRows(const std::string& utf8) {
    PastedPiRows pasted;
    std::vector<PastedLine> lines;
    if (!SplitPasted(utf8, kPiColumnCount, lines, pasted.strMessage)) return pasted;
    for (PastedLine& line : lines) {
        pasted.strMessage = PiRowFault(line);
        if (!pasted.Ok()) {
            pasted.rows.clear();
            return pasted;
        }
        const std::vector<std::string>& f = line.fields;
        pasted.rows.push_back(PiRow{line.nLine, f[0], f[1], f[2], f[3], f[4], f[5]});
    }
    return pasted;
}

std::string CopiedPiRows(const std::vector<PiRow>& rows) {
    std::string text;
    for (const PiRow& r : rows) text += TabLine({r.strName, r.strX, r.strY, r.strRadius, r.strLs1, r.strLs2});
    return text;
}

PastedCells ParsePastedCells(const std::string& utf8, const char* header) {
    PastedCells pasted;
    const std::string titles = header;
    const std::size_t columns = static_cast<std::size_t>(std::count(titles.begin(), titles.end(), ',')) + 1;
    std::vector<PastedLine> lines;
    if (!SplitPasted(utf8, columns, lines, pasted.strMessage)) return pasted;
    for (PastedLine& line : lines) {
        if (line.fields.size() > columns) {
            pasted.rows.clear();
            pasted.strMessage = Format(text::kPasteCellsFieldCount, line.nLine, columns, header);
            return pasted;
        }
        line.fields.resize(columns);
        pasted.rows.push_back(std::move(line.fields));
    }
    return pasted;
}

}  // namespace vexaline
