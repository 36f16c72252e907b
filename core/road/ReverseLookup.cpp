#include "core/road/ReverseLookup.h"

#include <cmath>

#include "core/road/Bracket.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

LookupResult ReverseLookup(const std::vector<std::string>& controlList, CPlanePoint q, const MessageSink& report) {
    static const std::string right = Gbk(text::kRight);
    static const std::string left = Gbk(text::kLeft);
    LookupResult result;
    if (controlList.size() < 3) {
        result.status = LookupStatus::NoControl;
        return result;
    }
    BracketTable table;
    if (!BuildBracketTable(controlList, table, result.nBadLine)) {
        result.status = LookupStatus::BadStationLine;
        return result;
    }
    const double min = table.Min(), max = table.Max();

    // Start at the nearest change point; the first in list order wins a tie.
    // A line whose X or Y is no number is nobody's nearest point; when no
    // point is nearer than the bound, start at the smallest station.
    double best = 4294967295.0;
    double s = min;
    for (std::size_t i = 1; i < controlList.size(); ++i) {
        const std::string& line = controlList[i];
        double x, y;
        if (!ReadDouble(Field(line, 34, 12), x) || !ReadDouble(Field(line, 46), y)) continue;
        double d = q.Distance(x, y);
        if (best > d) {
            best = d;
            ReadDouble(Field(line, 0, 12), s);
        }
    }

    PreparedElement element;
    Bracketing current{-1, -1};
    std::string text;
    for (int step = 0; step < kMaxLookupSteps; ++step) {
        if (!(s >= min && s <= max)) break;  // NaN leaves too
        Bracketing b = Bracket(table, s);
        if (b.nStartLine != current.nStartLine || b.nEndLine != current.nEndLine) {
            element = PreparedElement(controlList[b.nStartLine], controlList[b.nEndLine]);
            current = b;
        }
        ++result.nEvaluations;
        text.clear();
        if (!element.Append(text, s, 0.0, kPi * 0.5, 101, CPlanePoint(), CPlanePoint(), std::string(), std::string(),
                            report)) {
            result.status = LookupStatus::Failed;  // the text is a message: no X, Y or A to read
            return result;
        }
        // Read back by position, so C and A carry the text's precision.
        CPlanePoint c(ReadDoubleOr0(Field(text, 0, 14)), ReadDoubleOr0(Field(text, 14, 12)));
        double a = ReadDoubleOr0(Field(text, 26));
        double delta = c.Azimuth(q) - a;
        if (delta < 0) delta += kTwoPi;
        double distance = c.Distance(q);
        double along = distance * std::cos(delta);
        s = s + along;
        if (std::fabs(along) <= 0.001) {
            result.status = LookupStatus::Converged;
            result.strStation = Format("%.3lf", s);
            result.strOffset = Format(delta < kPi ? right.c_str() : left.c_str(), distance);
            return result;
        }
    }
    result.status = LookupStatus::NotFound;
    return result;
}

}  // namespace vexaline
