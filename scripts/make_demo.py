#!/usr/bin/env python3
"""Writes examples/demo.vxa, a sample alignment whose change-point coordinates
follow from the geometry, each point computed from the element before it,
and examples/demo.vxp, traverse points beside it.

Curvature runs linearly along a transition (a clothoid) and is constant on a
circular curve; positions are integrated with Gauss-Legendre quadrature on
short pieces, far below a millimetre of error."""
import math
import os
import time

# (station, line type, radius text, signed curvature at the start, at the end)
# Curvature is positive to the right (clockwise), as the radius sign says.
ROWS = [
    (0.0,    "直线",     "∞",    0.0,       0.0),
    (300.0,  "缓和曲线", "∞",    0.0,       1 / 600),
    (420.0,  "圆曲线",   "600",  1 / 600,   1 / 600),
    (670.0,  "缓和曲线", "600",  1 / 600,   0.0),
    (790.0,  "直线",     "∞",    0.0,       0.0),
    (1190.0, "缓和曲线", "-∞",   0.0,      -1 / 400),
    (1290.0, "圆曲线",   "-400", -1 / 400, -1 / 400),
    (1490.0, "缓和曲线", "-400", -1 / 400, -1 / 250),
    (1570.0, "圆曲线",   "-250", -1 / 250, -1 / 250),
    (1720.0, "缓和曲线", "-250", -1 / 250,  0.0),
    (1820.0, "直线",     "∞",    0.0,       0.0),
    (2120.0, "终点",     "∞",    0.0,       0.0),
]
START = (3805000.0, 500000.0)
START_AZIMUTH = math.radians(52.5)

# 5-point Gauss-Legendre nodes and weights on [-1, 1].
GL = [(0.0, 128 / 225),
      (-math.sqrt(5 - 2 * math.sqrt(10 / 7)) / 3, (322 + 13 * math.sqrt(70)) / 900),
      (math.sqrt(5 - 2 * math.sqrt(10 / 7)) / 3, (322 + 13 * math.sqrt(70)) / 900),
      (-math.sqrt(5 + 2 * math.sqrt(10 / 7)) / 3, (322 - 13 * math.sqrt(70)) / 900),
      (math.sqrt(5 + 2 * math.sqrt(10 / 7)) / 3, (322 - 13 * math.sqrt(70)) / 900)]


def walk(x, y, a0, length, k0, k1):
    """End point and azimuth after length metres from (x, y) at azimuth a0."""
    def azimuth(s):
        return a0 + k0 * s + (k1 - k0) * s * s / (2 * length)
    pieces = 200
    h = length / pieces
    for i in range(pieces):
        mid = (i + 0.5) * h
        for node, weight in GL:
            s = mid + node * h / 2
            x += weight * h / 2 * math.cos(azimuth(s))
            y += weight * h / 2 * math.sin(azimuth(s))
    return x, y, azimuth(length)


def pad(text, width):
    raw = text.encode("gbk")
    return raw + b" " * max(0, width - len(raw))


def centreline(station):
    """Point and azimuth of the centreline at a station."""
    x, y = START
    a = START_AZIMUTH
    for i, (s0, _kind, _radius, k0, k1) in enumerate(ROWS[:-1]):
        s1 = ROWS[i + 1][0]
        if station <= s1:
            if station == s0:
                return x, y, a
            # The piece from s0 to station of this element.
            k = k0 + (k1 - k0) * (station - s0) / (s1 - s0)
            return walk(x, y, a, station - s0, k0, k)
        x, y, a = walk(x, y, a, s1 - s0, k0, k1)
    return x, y, a


# Traverse points: (name, station, offset to the right of the centreline).
POINTS = [("D1", 100, -35.0), ("D2", 550, 42.0), ("D3", 1000, -28.5),
          ("D4", 1400, 31.0), ("D5", 1800, -40.0), ("D6", 2100, 25.0)]


def main():
    records = []
    for station, kind, radius, _k0, _k1 in ROWS:
        x, y, _a = centreline(station)
        records.append(pad("%g" % station, 12) + pad(kind, 10) + pad(radius, 12) +
                       pad("%.3f" % x, 12) + pad("%.3f" % y, 12))
    stamp = time.strftime(" - %d %b %y %H:%M:%S - ", time.localtime()).encode("ascii")
    header = "里  程      线型      半径        X 坐 标     Y 坐 标     ".encode("gbk")
    data = "日  期：".encode("gbk") + stamp + b"\r\n" + header + b"\r\n"
    data += b"".join(r + b"\r\n" for r in records)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "examples", "demo.vxa"), "wb") as f:
        f.write(data)
    points = [pad("  点名", 10) + pad("X坐标", 12) + pad("Y坐标", 8)]
    for name, station, offset in POINTS:
        x, y, a = centreline(station)
        x += offset * math.cos(a + math.pi / 2)
        y += offset * math.sin(a + math.pi / 2)
        points.append(pad(name, 8) + pad("%.3f" % x, 12) + pad("%.3f" % y, 10))
    with open(os.path.join(here, "..", "examples", "demo.vxp"), "wb") as f:
        f.write(b"".join(p + b"\r\n" for p in points))


if __name__ == "__main__":
    main()
