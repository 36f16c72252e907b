#include "core/files/GridFile.h"

#include "core/files/CsvTable.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

GridRead ReadRoadGrid(const std::string& text) {
    GridRead read = ReadGrid(text);
    if (read.grid && read.grid->bGeographic) {
        read.strMessage = Format(text::kRoadGridGeographic, read.grid->strName.c_str(), read.grid->strTitle.c_str());
        read.grid.reset();
    }
    return read;
}

std::string GridFileText(const std::string& grid) { return grid + "\r\n"; }

GridRead ReadGridFile(const std::string& bytes) {
    GridRead read;
    std::string line;
    bool lines = bytes.size() > kMaxGridFileBytes;
    const std::size_t bom = bytes.rfind(kUtf8Bom, 0) == 0 ? 3 : 0;
    for (std::size_t at = bom; at < bytes.size() && !lines;) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(at, end - at);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        text = TrimBlanks(text);
        lines = !text.empty() && !line.empty();  // a second line of text
        if (!text.empty()) line = text;
        at = end + 1;
    }
    if (!lines) read = ReadRoadGrid(ValidUtf8(line));
    else read.strMessage = text::kGridFileLines;
    if (!read.grid) read.strMessage = Format(text::kGridFileRefused, read.strMessage.c_str());
    return read;
}

}  // namespace vexaline
