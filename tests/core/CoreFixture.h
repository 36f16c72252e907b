#pragma once
// What the core tests share: the sample files, control rows typed as a user
// types them, stakes of a results list, and a road driven forward from its
// curvature (numerical integration, nothing of the code under test).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/files/AlignmentFile.h"
#include "core/files/TextFile.h"
#include "core/road/Results.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"

using namespace vexaline;

// The bytes of a file in examples/.
inline std::string Example(const char* name) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/" + name, bytes), ReadStatus::Ok) << name;
    return bytes;
}

// The control list of examples/demo.vxa as the window holds it: its header line first.
inline std::vector<std::string> DemoList() {
    std::vector<std::string> list = AlignmentRecords(Example("demo.vxa"));
    list.insert(list.begin(), ControlHeaderLine());
    return list;
}

// A control row from its five fields in UTF-8.
inline ControlRow Row(const char* station, const char* type, const char* radius, const char* x, const char* y) {
    ControlRow row;
    const char* utf8[kControlFieldCount] = {station, type, radius, x, y};
    for (int i = 0; i < kControlFieldCount; ++i) row.strField[i] = Gbk(utf8[i]);
    return row;
}

// "300|缓和曲线|∞|1.5|2" as a control line, each field padded to its column.
inline std::string L(const std::string& fields) {
    ControlRow row;
    std::size_t at = 0;
    for (int i = 0; i < kControlFieldCount; ++i) {
        const std::size_t bar = fields.find('|', at);
        row.strField[i] = Gbk(fields.substr(at, bar - at).c_str());
        at = bar + 1;
    }
    return BuildControlLine(row);
}

// A row as "station|type|radius|X|Y" in UTF-8.
inline std::string Show(const ControlRow& row) {
    std::string s;
    for (int i = 0; i < kControlFieldCount; ++i) s += (i ? "|" : "") + GbkToUtf8(row.strField[i]);
    return s;
}

// A stake of a results list; a side stake when offset is not 0.
inline StakeResult StakeRow(double station, double x, double y, double offset = 0, double deflection = kPi / 2) {
    StakeResult r;
    r.dStation = station, r.point = CPlanePoint(x, y), r.dOffset = offset, r.dDeflection = deflection;
    return r;
}

// A road of pieces whose curvature runs linearly along each (positive turns
// right), driven from a start point and azimuth: the heading integrated by
// hand, the position by Simpson's rule.
struct Piece { double length, k0, k1; };

struct DrivenRoad {
    CPlanePoint start;
    double azimuth0 = 0;
    std::vector<Piece> pieces;
    std::vector<double> at, head;  // station (from 0) and azimuth where each piece begins

    DrivenRoad() = default;
    DrivenRoad(CPlanePoint p, double azimuth, std::vector<Piece> list) : start(p), azimuth0(azimuth), pieces(list) {
        double station = 0, h = azimuth;
        for (const Piece& piece : pieces) {
            at.push_back(station), head.push_back(h);
            station += piece.length;
            h += (piece.k0 + piece.k1) / 2 * piece.length;
        }
    }
    double Heading(std::size_t i, double t) const {
        const Piece& p = pieces[i];
        return head[i] + p.k0 * t + (p.k1 - p.k0) * t * t / (2 * p.length);
    }
    // Position and heading at distance s from the start.
    CPlanePoint Point(double s, double* heading = nullptr) const {
        CPlanePoint q = start;
        if (heading) *heading = azimuth0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const double t = std::min(s - at[i], pieces[i].length);
            if (t <= 0) break;
            const int n = 4000;
            const double h = t / n;
            double x = 0, y = 0;
            for (int k = 0; k <= n; ++k) {
                const double w = (k == 0 || k == n) ? 1 : (k % 2 ? 4 : 2);
                x += w * std::cos(Heading(i, k * h));
                y += w * std::sin(Heading(i, k * h));
            }
            q = CPlanePoint(q.X + x * h / 3, q.Y + y * h / 3);
            if (heading) *heading = Heading(i, t);
        }
        return q;
    }
};
