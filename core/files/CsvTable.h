#pragma once
#include <string>
#include <vector>

// The road's tables as CSV, read and written one way: UTF-8 with a byte
// order mark written (so that a spreadsheet shows the Chinese titles), a
// title line, comma-separated fields, a field in double quotes where it
// holds a comma, a quote or a line end; CR LF written, CR LF or LF read.
namespace vexaline {

inline constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

enum class CsvFault {
    None,
    NotText,         // neither UTF-8 nor GBK
    TooLong,         // more than maxLines lines, or a line over maxLineBytes
    BadHeader,       // the first line is not the title (an empty file neither)
    TooManyFields,   // nLine has more non-blank fields than the title
    BadQuote,        // nLine has a quote that is not closed
};

struct CsvRow {
    int nLine = 0;                    // the file line; the title is line 1
    std::vector<std::string> fields;  // UTF-8, exactly as many as the title's
};

struct CsvTableRead {
    std::vector<CsvRow> rows;  // the lines after the title, blank ones left out
    CsvFault fault = CsvFault::None;
    int nLine = 0;  // the line at fault, for TooManyFields and BadQuote
    bool Ok() const { return fault == CsvFault::None; }
};

// Reads a table file's bytes whose first line is the titles (each compared
// after trimming blanks). A file without the byte order mark that is no
// UTF-8 is read as GBK (what a spreadsheet saves on a Chinese system).
// Missing trailing fields are empty, and extra ones are dropped if blank;
// a line of blank fields is skipped. Refuses (fault) at the first fault;
// the fields are not read as numbers here.
CsvTableRead ReadCsvTable(const std::string& bytes, const std::vector<std::string>& titles, int maxLines,
                          int maxLineBytes);

// One line of fields (UTF-8), quoted where needed, with CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

// The same line of GBK fields, written in UTF-8.
std::string GbkCsvLine(const std::vector<std::string>& gbkFields);

}  // namespace vexaline
