#include "core/text/ControlLine.h"

#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

std::string JoinPadded(const std::string (&fields)[kControlFieldCount]) {
    std::string line;
    for (int i = 0; i < kControlFieldCount; ++i) line += PadRight(fields[i], kControlLayout[i].nWidth);
    return line;
}

}  // namespace

std::string ControlHeaderLine() { return Gbk(text::kControlHeader); }

std::string NewFileTitleLine() {
    const std::string titles[kControlFieldCount] = {Gbk(text::kNewFileStation), Gbk(text::kNewFileLineType),
                                                    Gbk(text::kNewFileRadius), Gbk(text::kNewFileX),
                                                    Gbk(text::kNewFileY)};
    return JoinPadded(titles);
}

int OverflowingField(const ControlRow& row) {
    for (int i = 0; i < kControlFieldCount; ++i)
        if (row.strField[i].size() > static_cast<std::size_t>(kControlLayout[i].nWidth)) return i;
    return -1;
}

std::string BuildControlLine(const ControlRow& row) { return JoinPadded(row.strField); }

std::vector<std::string> ControlLines(const std::vector<ControlRow>& rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const ControlRow& row : rows) lines.push_back(BuildControlLine(row));
    return lines;
}

ControlRow SplitControlLine(const std::string& line) {
    ControlRow row;
    for (int i = 0; i < kControlFieldCount; ++i)
        row.strField[i] = Field(line, static_cast<std::size_t>(kControlLayout[i].nOffset),
                                static_cast<std::size_t>(kControlLayout[i].nWidth));
    return row;
}

std::string StationKey(const std::string& line) {
    return line.substr(0, static_cast<std::size_t>(kControlLayout[kFieldStation].nWidth));
}

int FindStation(const std::vector<std::string>& lines, const std::string& station) {
    const std::string key = PadRight(station, kControlLayout[kFieldStation].nWidth);
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (StationKey(lines[i]) == key) return static_cast<int>(i);
    return -1;
}

RowCheck CheckRow(const ControlRow& row) {
    for (const std::string& field : row.strField)
        if (field.empty()) return RowCheck{RowCheck::Empty, -1};
    // A wider field would shift every later column of the line and of the file.
    const int wide = OverflowingField(row);
    if (wide >= 0) return RowCheck{RowCheck::TooWide, wide};
    return RowCheck{};
}

RowPlace PlaceRow(const std::vector<std::string>& lines, const ControlRow& row) {
    return RowPlace{FindStation(lines, row.strField[kFieldStation]), BuildControlLine(row)};
}

RowsPlaced PlaceRows(std::vector<std::string> lines, const std::vector<ControlRow>& rows) {
    RowsPlaced placed;
    for (const ControlRow& row : rows) {
        RowPlace place = PlaceRow(lines, row);
        if (place.nReplace >= 1) {
            lines[static_cast<std::size_t>(place.nReplace)] = std::move(place.line);
            ++placed.nReplaced;
        } else {
            lines.push_back(std::move(place.line));
        }
    }
    placed.lines = std::move(lines);
    return placed;
}

}  // namespace vexaline
