// The control-data check on the sample road and on copies of it with one
// typing fault each, and on small roads built here.
#include <algorithm>
#include <cmath>

#include "CoreFixture.h"
#include "core/road/ControlCheck.h"
#include "core/road/CheckText.h"
#include "core/text/Texts.h"

namespace {

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
        EXPECT_LT(std::fabs(e.dKinkSec.value_or(0)), 4.1);  // each element leaves as the next one starts
        EXPECT_TRUE(e.problems.empty() && !e.bFlagged);
    }
    const std::vector<std::string> text = CheckReportLines(r, Alignment::Parse(list).Rows(), {});
    EXPECT_EQ(GbkToUtf8(text[0]), "控制数据检查无误：12 行，闭合差都不超过 5 毫米，折角都不超过 20″。");
}

TEST(ControlCheck, KinksReadAsDegreesMinutesAndTenthsOfSeconds) {
    struct Case { double seconds; const char* text; } cases[] = {
        {5333.04, "1°28′53.0″"}, {-12.34, "-0°00′12.3″"}, {59.96, "0°01′00.0″"}, {3599.95, "1°00′00.0″"},
        {0.04, "0°00′00.0″"}, {-0.04, "0°00′00.0″"}, {648000, "180°00′00.0″"}, {16.5, "0°00′16.5″"},
    };
    for (const Case& c : cases) EXPECT_EQ(KinkText(c.seconds), c.text) << c.seconds;
}

// The plan view draws the road's elements: the flags land on the elements
// that join the flagged rows, whatever order the list holds them in.
TEST(ControlCheck, FlagsFallOnTheRoadsOwnElements) {
    std::vector<std::string> list = WithField(DemoList(), 9, kFieldRadius, "250");  // the README's fault
    std::vector<bool> want(list.size() - 2, false);
    want[8] = want[9] = true;  // rows 9-10 and 10-11
    Alignment road = Alignment::Parse(list);
    EXPECT_EQ(FlaggedElements(road, CheckControl(road)), want);
    std::swap(list[2], list[3]);  // rows 2 and 3 typed in the other order: the road is the same
    road = Alignment::Parse(list);
    const std::vector<bool> flagged = FlaggedElements(road, CheckControl(road));
    EXPECT_TRUE(flagged[1] && flagged[2]) << "the swapped rows are flagged, their elements with them";
    EXPECT_TRUE(flagged[8] && flagged[9]);
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

TEST(ControlCheck, EachRuleNamesItsRowAndAnElementThatCannotBeEvaluatedHasNoFigures) {
    const std::vector<std::string> demo = DemoList();
    struct Case { const char* name; std::vector<std::string> list; int row; CheckRule rule; };
    const Case cases[] = {
        {"a station equal to the one before", WithField(demo, 5, kFieldStation, "670"), 5, CheckRule::StationNotIncreasing},
        {"a line type that is none of the four", WithField(demo, 3, kFieldLineType, "圆线"), 3, CheckRule::UnknownLineType},
        {"an end point before the last row", WithField(demo, 5, kFieldLineType, "终点"), 5, CheckRule::EndPointNotLast},
        {"a straight with a radius", WithField(demo, 5, kFieldRadius, "600"), 5, CheckRule::StraightRadius},
        {"an arc of infinite radius", WithField(demo, 3, kFieldRadius, "∞"), 3, CheckRule::ArcRadius},
        {"an arc of radius 0", WithField(demo, 7, kFieldRadius, "0"), 7, CheckRule::ArcRadius},
        {"a transition between equal radii", WithField(demo, 9, kFieldRadius, "-400"), 8, CheckRule::TransitionEqualRadii},
        {"a transition not starting at the arc's radius", WithField(demo, 8, kFieldRadius, "-450"), 8,
         CheckRule::TransitionStartRadius},
        {"a transition after a straight with a finite radius", WithField(demo, 6, kFieldRadius, "-4000"), 6,
         CheckRule::TransitionStartRadius},
        {"an X that holds no number", WithField(demo, 6, kFieldX, "abc"), 6, CheckRule::NotANumber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CheckReport r = CheckControl(Alignment::Parse(c.list));
        bool named = false;
        for (const ElementCheck& e : r.elements)
            for (const CheckProblem& p : e.problems) named |= p.kind == ProblemKind::Rule && p.rule == c.rule && p.nRow == c.row;
        EXPECT_TRUE(named);
        EXPECT_TRUE(std::find(r.flaggedRows.begin(), r.flaggedRows.end(), c.row) != r.flaggedRows.end());
    }
    // Row 6's X is no number: elements 5 and 6 are not evaluated, and no
    // kink is measured beside them; element 7 is.
    const CheckReport r = CheckControl(Alignment::Parse(cases[9].list));
    EXPECT_FALSE(r.elements[4].dClosureStartMm || r.elements[4].dClosureEndMm || r.elements[5].dClosureEndMm);
    EXPECT_FALSE(r.elements[4].dKinkSec || r.elements[5].dKinkSec || r.elements[6].dKinkSec);
    EXPECT_TRUE(r.elements[6].dClosureStartMm && r.elements[7].dKinkSec);
    EXPECT_EQ(GbkToUtf8(CheckProblemText(r.elements[5].problems[0])), "第 6 行X不是数");
}

TEST(ControlCheck, TolerancesAreLimitsAndTwoMendsNameNone) {
    // A straight road along X with its middle row off sideways: 4 mm passes
    // the default closure but its kink of 2·atan(0.004/100) = 16.5″ passes
    // too; 6 mm makes 24.8″ and is flagged.
    auto road = [](const std::string& y, const std::string& station = "100") {
        return Alignment::Parse({ControlHeaderLine(), L("0|直线|∞|0|0"), L(station + "|直线|∞|100|" + y),
                                 L("200|终点|∞|200|0")});
    };
    CheckReport r = CheckControl(road("0.004"));
    EXPECT_TRUE(r.flaggedRows.empty());
    EXPECT_NEAR(*r.elements[1].dKinkSec, 2 * std::atan(0.004 / 100) * 180 / M_PI * 3600, 1e-6);
    r = CheckControl(road("0.006"));
    EXPECT_EQ(r.flaggedRows, (std::vector<int>{2, 3}));  // the kink before the last row flags it too
    EXPECT_TRUE(CheckControl(road("0.006"), CheckTolerance{5, 30}).flaggedRows.empty());
    // Station 150 where X is 100: station 100 or X 150 would each mend it.
    r = CheckControl(road("0", "150"));
    EXPECT_FALSE(r.flaggedRows.empty());
    EXPECT_EQ(r.nCandidates, 2);
    EXPECT_FALSE(r.suggestion);
    EXPECT_EQ(GbkToUtf8(CheckSuggestionText(r)), "有 2 种单处改动都能消除全部问题，无法确定是哪一处。");
    // Fewer than two rows: nothing to check.
    EXPECT_TRUE(CheckControl(Alignment::Parse({ControlHeaderLine()})).elements.empty());
}
