// The control-data check on the sample road and on copies of it with one
// typing fault each, and on small roads built here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/files/AlignmentFile.h"
#include "core/files/TextFile.h"
#include "core/road/ControlCheck.h"
#include "core/text/CheckText.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"

using namespace vexaline;

namespace {

std::vector<std::string> DemoList() {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa", bytes), ReadStatus::Ok);
    std::vector<std::string> lines = AlignmentRecords(bytes);
    lines.insert(lines.begin(), ControlHeaderLine());
    return lines;
}

// The list with row `row` (1-based) changed by `change`.
template <class Change>
std::vector<std::string> WithRow(std::vector<std::string> list, int row, Change change) {
    ControlRow r = SplitControlLine(list[static_cast<std::size_t>(row)]);
    change(r);
    list[static_cast<std::size_t>(row)] = BuildControlLine(r);
    return list;
}

std::vector<std::string> WithField(const std::vector<std::string>& list, int row, ControlField f, const char* utf8) {
    return WithRow(list, row, [&](ControlRow& r) { r.strField[f] = Gbk(utf8); });
}

const char* FieldKey(SuggestedField f) {
    static const char* keys[] = {"station", "x", "y", "radius", "line_type", "xy"};
    return keys[static_cast<int>(f)];
}

}  // namespace

TEST(ControlCheck, TheSampleRoadPassesWithSmallClosuresAndKinks) {
    const std::vector<std::string> list = DemoList();
    const CheckReport r = CheckControl(Alignment::Parse(list));
    EXPECT_EQ(r.nRows, static_cast<int>(list.size()) - 1);
    ASSERT_EQ(r.elements.size(), list.size() - 2);
    EXPECT_TRUE(r.flaggedRows.empty());
    EXPECT_FALSE(r.suggestion);
    for (const ElementCheck& e : r.elements) {
        SCOPED_TRACE(e.nRow);
        ASSERT_TRUE(e.dClosureStartMm && e.dClosureEndMm);
        EXPECT_LT(*e.dClosureStartMm, 1.0);  // coordinates typed to the millimetre
        EXPECT_LT(*e.dClosureEndMm, 1.0);
        EXPECT_EQ(e.dKinkSec.has_value(), e.nRow > 1);
        EXPECT_TRUE(e.problems.empty() && !e.bFlagged);
    }
    const std::vector<std::string> text = CheckReportLines(r, Alignment::Parse(list).Rows(), {});
    EXPECT_EQ(GbkToUtf8(text[0]), "控制数据检查无误：12 行，闭合差都不超过 5 毫米，折角都不超过 20″。");
}

TEST(ControlCheck, EachTypingFaultIsFlaggedOnItsRowWithTheChangeThatMendsIt) {
    const std::vector<std::string> demo = DemoList();
    std::vector<std::string> leftOut = demo;
    leftOut.erase(leftOut.begin() + 7);  // 1290 圆曲线 -400
    struct Case {
        const char* name;
        std::vector<std::string> list;
        int row;                 // where the fault is
        const char* field;       // the suggestion's field, nullptr: none expected
        const char *from, *to;   // UTF-8
    };
    const Case cases[] = {
        {"digits exchanged in X", WithField(demo, 4, kFieldX, "3805336.467"), 4, "x", "3805336.467", "3805336.647"},
        {"a wrong digit in a station", WithField(demo, 7, kFieldStation, "1250"), 7, "station", "1250", "1290"},
        {"digits exchanged in a station", WithField(demo, 5, kFieldStation, "970"), 5, "station", "970", "790"},
        {"a radius sign flipped", WithField(demo, 9, kFieldRadius, "250"), 9, "radius", "250", "-250"},
        {"X and Y exchanged", WithRow(demo, 5, [](ControlRow& r) { std::swap(r.strField[kFieldX], r.strField[kFieldY]); }),
         5, "xy", "500688.662,3805345.175", "3805345.175,500688.662"},
        {"a wrong line type", WithField(demo, 3, kFieldLineType, "直线"), 3, "line_type", "直线", "圆曲线"},
        {"a wrong digit in a radius", WithField(demo, 7, kFieldRadius, "-900"), 7, "radius", "-900", "-400"},
        {"a wrong digit in Y", WithField(demo, 10, kFieldY, "501476.284"), 10, "y", "501476.284", "501476.224"},
        {"the last row sideways", WithField(demo, 12, kFieldY, "501422.776"), 12, "y", "501422.776", "501422.276"},
        {"the end point typed as a straight", WithField(demo, 12, kFieldLineType, "直线"), 12, "line_type", "直线", "终点"},
        {"a letter for a digit in a radius", WithField(demo, 3, kFieldRadius, "6O0"), 3, nullptr, nullptr, nullptr},
        {"a row left out", leftOut, 7, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CheckReport r = CheckControl(Alignment::Parse(c.list));
        const std::vector<int>& f = r.flaggedRows;
        EXPECT_TRUE(std::find(f.begin(), f.end(), c.row) != f.end());
        // Only its neighbours beside it (and the last row, which the kink
        // before it flags too).
        for (int row : f) EXPECT_TRUE(std::abs(row - c.row) <= 1 || row == r.nRows) << row;
        if (!c.field) {
            EXPECT_FALSE(r.suggestion);
            continue;
        }
        ASSERT_TRUE(r.suggestion);
        EXPECT_EQ(r.nCandidates, 1);
        EXPECT_EQ(r.suggestion->nRow, c.row);
        EXPECT_STREQ(FieldKey(r.suggestion->field), c.field);
        EXPECT_EQ(GbkToUtf8(r.suggestion->strFrom), c.from);
        EXPECT_EQ(GbkToUtf8(r.suggestion->strTo), c.to);
        // The change, made, clears every flag.
        std::vector<std::string> mended = c.list;
        ControlRow row = SplitControlLine(mended[static_cast<std::size_t>(c.row)]);
        if (r.suggestion->field == SuggestedField::XY) std::swap(row.strField[kFieldX], row.strField[kFieldY]);
        const ControlField fields[] = {kFieldStation, kFieldX, kFieldY, kFieldRadius, kFieldLineType};
        if (r.suggestion->field != SuggestedField::XY) row.strField[fields[static_cast<int>(r.suggestion->field)]] = r.suggestion->strTo;
        mended[static_cast<std::size_t>(c.row)] = BuildControlLine(row);
        EXPECT_TRUE(CheckControl(Alignment::Parse(mended)).flaggedRows.empty());
    }
}
