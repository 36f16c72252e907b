#pragma once
#include <string>
#include <vector>

#include "core/road/SectionTemplate.h"

// The cross-section template (*.vxt: 侧,名称,宽度,横坡,坡比,分级高度,平台宽度)
// and the widening (*.vxw: 桩号,左侧加宽,右侧加宽) as files, as the road's
// other tables are (ProfileCsv.h): written UTF-8 with a byte order mark and
// CR LF, read UTF-8 or GBK, CR LF or LF.
namespace vexaline {

struct TemplateCsvRead {
    std::vector<TemplateRow> rows;  // nLine: the file line (the title is line 1)
    std::string strMessage;         // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

struct WideningCsvRead {
    std::vector<WideningRow> rows;
    std::string strMessage;
    bool Ok() const { return strMessage.empty(); }
};

// A file's bytes to rows; the fields are checked by BuildTemplate and
// BuildWidening, naming the line. Refuses, naming the line: a title other
// than the table's, more fields than the title has, an unmatched quote; more
// lines than the table may have rows (and the title), a line over
// kTableMaxLineBytes, bytes neither UTF-8 nor GBK.
TemplateCsvRead ReadTemplateCsv(const std::string& bytes);
WideningCsvRead ReadWideningCsv(const std::string& bytes);

// The tables as files: BOM, title, the rows' texts as they stand.
std::string TemplateCsvText(const std::vector<TemplateRow>& rows);
std::string WideningCsvText(const std::vector<WideningRow>& rows);

}  // namespace vexaline
