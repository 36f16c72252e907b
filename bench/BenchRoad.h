#pragma once
// A long, consistent road for the benchmarks: straight, transition in,
// curve, transition out, turning right and left in turn; each change point
// is where the element before it ends.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/text/AngleText.h"
#include "core/geometry/Element.h"
#include "core/road/Profile.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"

namespace benchroad {

using vexaline::CPlanePoint;
using vexaline::Gbk;
using vexaline::PadRight;
namespace text = vexaline::text;

inline std::string Num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

inline std::string Line(double station, const char* type, const std::string& radius, CPlanePoint p) {
    char s[32];
    std::snprintf(s, sizeof s, "%.0f", station);
    return PadRight(s, 12) + PadRight(Gbk(type), 10) + PadRight(radius, 12) + PadRight(Num(p.X), 12) +
           PadRight(Num(p.Y), 12);
}

// Control lines (no header) of `elements` elements and the end point.
inline std::vector<std::string> Road(int elements) {
    const double I = vexaline::INFINITE_RADIUS;
    std::vector<std::string> list;
    const double radii[] = {600, 400, 800, 500};
    CPlanePoint p(3800000, 500000);
    double tangent = 0.7, station = 0;
    for (int i = 0; i < elements; ++i) {
        int group = i / 4, turn = group % 2 ? -1 : 1;
        double R = radii[group % 4];
        struct Kind {
            int type;
            double r0, r1, length;
            const char* text;
        };
        const Kind kinds[4] = {{0, I, I, 300, text::kStraight},
                               {2, I, R, 120, text::kTransition},
                               {1, R, R, 250, text::kCircular},
                               {2, R, I, 120, text::kTransition}};
        const Kind& k = kinds[i % 4];
        vexaline::ElementRequest q{k.type, turn, station, p, k.r0, station + k.length, {}, k.r1, station, 0, 0};
        // Laid out on a trial chord, then turned and moved as a whole so that
        // it starts where the last one ended, on its tangent (an element
        // held on its end point would not start at p otherwise).
        q.ptEnd = CPlanePoint(p.X + k.length * std::cos(1.0), p.Y + k.length * std::sin(1.0));
        const vexaline::StakePoint s = vexaline::PointOnElement(q);
        q.dStation = q.dEndStation;
        const vexaline::StakePoint e = vexaline::PointOnElement(q);
        const double turnBy = tangent - s.dAzimuth, dx = e.dX - s.dX, dy = e.dY - s.dY;
        q.ptEnd = CPlanePoint(p.X + dx * std::cos(turnBy) - dy * std::sin(turnBy),
                              p.Y + dx * std::sin(turnBy) + dy * std::cos(turnBy));
        vexaline::StakePoint end = vexaline::PointOnElement(q);
        std::string radius = k.r0 == I ? Gbk(turn < 0 ? text::kMinusInfinity : text::kInfinity)
                                       : std::to_string(static_cast<int>(k.r0) * turn);
        list.push_back(Line(station, k.text, radius, p));
        p = CPlanePoint(std::atof(Num(end.dX).c_str()), std::atof(Num(end.dY).c_str()));
        tangent = end.dAzimuth;
        station += k.length;
    }
    list.push_back(Line(station, text::kEndPoint, Gbk(text::kInfinity), p));
    return list;
}

// Grade points every `spacing` metres from 0, at 100 and 110 m in turn,
// each inner one with a vertical curve of R 5000.
inline std::vector<vexaline::GradeRow> Grades(int points, double spacing) {
    std::vector<vexaline::GradeRow> rows;
    for (int k = 0; k < points; ++k) {
        const bool inner = k > 0 && k + 1 < points;
        rows.push_back(vexaline::GradeRow{k + 2, "", std::to_string(k * spacing), k % 2 ? "110" : "100", inner ? "5000" : ""});
    }
    return rows;
}

}  // namespace benchroad
