// The ground, the slope stakes and the earthwork. Every expected figure is
// worked by hand on slopes and ground lines simple enough to solve on
// paper; the road runs due east, so a point at offset o of station s lies
// at X 3800000 − o, Y 500000 + s.
#include "CoreFixture.h"

#include "core/files/GroundFile.h"
#include "core/road/CrewSections.h"
#include "core/road/Ground.h"
#include "core/road/GroundModel.h"
#include "core/road/Profile.h"

namespace {

Alignment EastRoad() {
    return Alignment::Parse({ControlHeaderLine(), L("0|直线|∞|3800000|500000"), L("400|终点|∞|3800000|500400")});
}

GroundSection Ground(std::vector<GroundPoint> points, double s = 0) { return GroundSection{s, std::move(points)}; }

// A side with a fill slope 1:fill and a cut slope 1:cut (0: none), berms on the fill slope.
TemplateSide Side(double fill, double cut, double bermHeight = 0, double bermWidth = 0) {
    TemplateSide side;
    if (fill > 0) side.fill = SideSlope{0, SideSlopeKind::Fill, fill, bermHeight, bermWidth};
    if (cut > 0) side.cut = SideSlope{0, SideSlopeKind::Cut, cut, 0, 0};
    return side;
}

// A road 5 m flat either side at the centre's height, fill 1:2 and cut 1:1 beyond.
SectionDesign FlatRoad(double h0) {
    SectionDesign d;
    for (TemplateSide* side : {&d.tmpl.left, &d.tmpl.right}) {
        *side = Side(2, 1);
        side->surface.push_back(SurfaceElement{0, "路面", 5, false, 0});
    }
    d.profile = BuildProfile({{2, "", "0", std::to_string(h0), ""}, {3, "", "400", std::to_string(h0), ""}}).profile;
    return d;
}

constexpr double X0 = 3800000, Y0 = 500000;

}  // namespace

TEST(Ground, TheSlopeMeetsTheGroundFirstGoingOutward) {
    const GroundPoint hinge{5, 100}, leftHinge{-5, 100};
    const auto flat = [](double z) { return Ground({{-40, z}, {40, z}}); };
    const struct {
        const char* what;
        TemplateSide side;
        RoadSide which;
        GroundPoint hinge;
        GroundSection ground;
        SlopeFault fault;
        SideSlopeKind kind;
        double offset, elevation;
        std::size_t corners;  // berm corners before the catch point
    } table[] = {
        {"fill 1:2 onto flat ground 2 m down", Side(2, 1), RoadSide::Right, hinge, flat(98), SlopeFault::None,
         SideSlopeKind::Fill, 9, 98, 0},
        {"the same on the left", Side(2, 1), RoadSide::Left, leftHinge, flat(98), SlopeFault::None,
         SideSlopeKind::Fill, -9, 98, 0},
        {"cut 1:1 up to flat ground 3 m up", Side(2, 1), RoadSide::Right, hinge, flat(103), SlopeFault::None,
         SideSlopeKind::Cut, 8, 103, 0},
        // ground 99 − u/4: 100 − u/2 = 99 − u/4 at u = 4
        {"fill onto ground falling 1:4", Side(2, 1), RoadSide::Right, hinge, Ground({{0, 100.25}, {45, 89}}),
         SlopeFault::None, SideSlopeKind::Fill, 9, 98, 0},
        // slope 3 m out to 98, berm 1 m, 3 m out to 96, berm, 1.5 m out to 95
        {"fill with berms every 2 m", Side(1.5, 1, 2, 1), RoadSide::Right, hinge, flat(95), SlopeFault::None,
         SideSlopeKind::Fill, 14.5, 95, 4},
        {"meeting the ground where the first berm begins", Side(1.5, 1, 2, 1), RoadSide::Right, hinge, flat(98),
         SlopeFault::None, SideSlopeKind::Fill, 8, 98, 0},
        // F = slope − ground: 0.5 at u 2, −1 at u 4 (meets at 8/3), back above at u 6, below again at u 8
        {"ground crossing the slope twice", Side(1, 1), RoadSide::Right, hinge,
         Ground({{5, 99}, {7, 97.5}, {9, 97}, {11, 90}, {13, 93}, {15, 80}}), SlopeFault::None, SideSlopeKind::Fill,
         5 + 8.0 / 3, 100 - 8.0 / 3, 0},
        {"ground level with the hinge", Side(2, 1), RoadSide::Right, hinge, flat(100), SlopeFault::None,
         SideSlopeKind::Fill, 5, 100, 0},
        {"ground parallel to the fill slope", Side(2, 1), RoadSide::Right, hinge, Ground({{5, 99}, {25, 89}}),
         SlopeFault::NoMeeting, SideSlopeKind::Fill, 0, 0, 0},
        {"ground ending before the toe", Side(2, 1), RoadSide::Right, hinge, Ground({{-40, 98}, {8, 98}}),
         SlopeFault::NoMeeting, SideSlopeKind::Fill, 0, 0, 0},
        {"ground short of the hinge", Side(2, 1), RoadSide::Right, hinge, Ground({{-4, 98}, {4, 98}}),
         SlopeFault::NoGroundAtHinge, SideSlopeKind::Fill, 0, 0, 0},
        {"cut asked of a side with a fill slope only", Side(2, 0), RoadSide::Right, hinge, flat(101),
         SlopeFault::NoSlopeRow, SideSlopeKind::Cut, 0, 0, 0},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        const SlopeMeeting m = MeetSlope(row.side, row.which, row.hinge, row.ground);
        EXPECT_EQ(m.fault, row.fault);
        EXPECT_EQ(m.kind, row.kind);
        if (row.fault != SlopeFault::None) {
            EXPECT_TRUE(m.line.empty());
            continue;
        }
        ASSERT_EQ(m.line.size(), row.corners + 1);
        EXPECT_NEAR(m.line.back().dOffset, row.offset, 1e-9);
        EXPECT_NEAR(m.line.back().dElevation, row.elevation, 1e-9);
    }
    const SlopeMeeting berms = MeetSlope(Side(1.5, 1, 2, 1), RoadSide::Right, hinge, flat(95));
    const double corners[4][2] = {{8, 98}, {9, 98}, {12, 96}, {13, 96}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(berms.line[static_cast<std::size_t>(k)].dOffset, corners[k][0], 1e-9);
        EXPECT_NEAR(berms.line[static_cast<std::size_t>(k)].dElevation, corners[k][1], 1e-9);
    }
}

namespace {

// The area a ring encloses (shoelace), whichever way round it runs.
double RingArea(const std::vector<GroundPoint>& ring) {
    double twice = 0;
    for (std::size_t k = 0; k < ring.size(); ++k) {
        const GroundPoint& a = ring[k];
        const GroundPoint& b = ring[(k + 1) % ring.size()];
        twice += a.dOffset * b.dElevation - b.dOffset * a.dElevation;
    }
    return std::fabs(twice) / 2;
}

}  // namespace

// The areas, and the rings drawn for them: as many as there are stretches
// of fill or cut, enclosing the same areas.
TEST(Ground, AreasAreTheExactRegionsBetweenTheTwoLines) {
    const struct {
        const char* what;
        std::vector<GroundPoint> design, ground;
        double fill, cut;
        std::size_t rings;
    } table[] = {
        // a trapezoid 10 m on top, 18 m at the foot, 2 m high
        {"fill only", {{-9, 98}, {-5, 100}, {5, 100}, {9, 98}}, {{-20, 98}, {20, 98}}, 28, 0, 1},
        // 10 m at the bottom, 16 m at the top, 3 m deep
        {"cut only", {{-8, 103}, {-5, 100}, {5, 100}, {8, 103}}, {{-20, 103}, {20, 103}}, 0, 39, 1},
        // the ground rising 1:5 across: triangles 1 × 10/3, 1 × 5 and 1 × 5, 1 × 1.25 (halved)
        {"mixed", {{-25.0 / 3, 295.0 / 3}, {-5, 100}, {5, 100}, {6.25, 101.25}}, {{-20, 96}, {20, 104}},
         25.0 / 6, 3.125, 2},
        {"crossing between breaks", {{-10, 100}, {10, 100}}, {{-10, 99}, {10, 101}}, 5, 5, 2},
        {"a ground break inside a design piece", {{-10, 100}, {10, 100}}, {{-10, 100}, {0, 98}, {10, 100}}, 20, 0, 1},
        {"touching at a break", {{-10, 100}, {10, 100}}, {{-10, 99}, {0, 100}, {10, 99}}, 10, 0, 2},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        const std::optional<EarthAreas> a = AreasBetween(row.design, Ground(row.ground));
        ASSERT_TRUE(a);
        EXPECT_NEAR(a->dFill, row.fill, 1e-9);
        EXPECT_NEAR(a->dCut, row.cut, 1e-9);
        const std::vector<EarthRegion> rings = EarthRegions(row.design, Ground(row.ground));
        EXPECT_EQ(rings.size(), row.rings);
        double fill = 0, cut = 0;
        for (const EarthRegion& r : rings) (r.bFill ? fill : cut) += RingArea(r.ring);
        EXPECT_NEAR(fill, row.fill, 1e-9);
        EXPECT_NEAR(cut, row.cut, 1e-9);
    }
    EXPECT_FALSE(AreasBetween({{-25, 100}, {10, 100}}, Ground({{-20, 96}, {20, 104}})));
    EXPECT_TRUE(EarthRegions({{-25, 100}, {10, 100}}, Ground({{-20, 96}, {20, 104}})).empty());
}

TEST(Ground, ASectionMeetsItsGroundOnBothSidesWithItsPlaceAndAreas) {
    // The mixed case above on the road: 1:5 ground rising to the right, 100 at the centre.
    const Alignment road = EastRoad();
    const SectionDesign d = FlatRoad(100);
    const CrossSection c = SectionAt(road, d, 120);
    const GroundSection ground = Ground({{-20, 96}, {20, 104}}, 120);
    const EarthSection e = MeetGround(road, d.tmpl, c, &ground);
    EXPECT_TRUE(e.messages.empty());
    ASSERT_TRUE(e.left && e.right);
    EXPECT_EQ(e.left->kind, SideSlopeKind::Fill);
    EXPECT_EQ(e.right->kind, SideSlopeKind::Cut);
    EXPECT_NEAR(e.left->Catch().point.X, X0 + 25.0 / 3, 1e-6);
    EXPECT_NEAR(e.left->Catch().point.Y, Y0 + 120, 1e-6);
    EXPECT_NEAR(e.left->dHeight, 5.0 / 3, 1e-9);
    EXPECT_NEAR(e.right->Catch().point.X, X0 - 6.25, 1e-6);
    EXPECT_NEAR(e.right->dHeight, 1.25, 1e-9);
    EXPECT_NEAR(e.area->dFill, 25.0 / 6, 1e-9);
    EXPECT_NEAR(e.area->dCut, 3.125, 1e-9);
    EXPECT_NEAR(*e.centreGround, 100, 1e-12);
    EXPECT_NEAR(*e.centreFill, 0, 1e-12);
    EXPECT_NEAR(e.pointGround.at(0).value_or(-1), 99, 1e-12);  // the left edge at −5
    // Ground only 8 m to the left: no toe there, no area, said by station and side.
    const GroundSection narrow = Ground({{-8, 96}, {20, 104}}, 120);
    const EarthSection n = MeetGround(road, d.tmpl, c, &narrow);
    EXPECT_FALSE(n.left);
    EXPECT_FALSE(n.area);
    ASSERT_EQ(n.messages.size(), 1u);
    EXPECT_EQ(GbkToUtf8(n.messages[0]), "K0+120.000 左侧：地面线不够宽，找不到坡脚");
    EXPECT_EQ(GbkToUtf8(MeetGround(road, d.tmpl, c, nullptr).messages.at(0)), "K0+120.000：地面线文件中没有这个桩号的断面");
}

TEST(Ground, VolumesAverageTheEndAreasOverTheRealLength) {
    // 桩号 K0+140 and K0+180 across K0+150=K0+170 lie 20 m apart: distances 140 and 160.
    const EarthAreas a{10, 2}, b{30, 0};
    const Earthwork w = Volumes({{200, std::nullopt}, {160, b}, {140, a}, {160, b}});
    ASSERT_EQ(w.stations.size(), 3u);
    ASSERT_EQ(w.stretches.size(), 2u);
    EXPECT_EQ(w.stretches[0].dFrom, 140);
    EXPECT_EQ(w.stretches[0].dLength, 20);
    EXPECT_TRUE(w.stretches[0].bCounted);
    EXPECT_DOUBLE_EQ(w.dFill, 400);
    EXPECT_DOUBLE_EQ(w.dCut, 20);
    EXPECT_FALSE(w.stretches[1].bCounted);  // 160 to 200: no areas at 200
    EXPECT_EQ(w.stretches[1].dLength, 40);
}

TEST(GroundFile, SectionsReadBackAsWrittenFromEitherEncoding) {
    const ChainageBuild chain = BuildChainage({{2, "K0+150.000", "K0+170.000"}, {3, "K0+370.000", "K0+360.000"}});
    ASSERT_TRUE(chain.Ok());
    // unsorted points, a serial, lower case, blanks and LF; 365(2) lies at distance 355
    const std::string bytes = "begin, K0+365.000(2) :4\n 3.2 , 101.5\n-4,100\n\nBEGIN,K0+100\n-1,99\n1,98.25\n";
    const GroundFileRead read = ReadGroundFile(bytes, chain.chain);
    ASSERT_TRUE(read.Ok()) << read.strMessage;
    ASSERT_EQ(read.sections.size(), 2u);
    EXPECT_EQ(read.sections[1].dStation, 355);
    EXPECT_EQ(read.sections[1].points[0].dOffset, -4);
    const std::string text = GroundFileText(read.sections, chain.chain);
    EXPECT_EQ(text, "BEGIN,K0+100.000:1\r\n-1.000,99.000\r\n1.000,98.250\r\n"
                    "BEGIN,K0+365.000(2):2\r\n-4.000,100.000\r\n3.200,101.500\r\n");
    EXPECT_EQ(GroundFileText(ReadGroundFile(text, chain.chain).sections, chain.chain), text);
    // Offsets within half a millimetre are one on paper: written once.
    EXPECT_EQ(GroundFileText({Ground({{0, 1}, {0.0004, 2}, {1, 3}}, 5)}, Chainage()),
              "BEGIN,K0+005.000:1\r\n0.000,1.000\r\n1.000,3.000\r\n");
}

TEST(GroundFile, BadFilesAreRefusedNamingTheLineAndField) {
    const struct { std::string bytes; const char* message; } table[] = {
        {"1,2\r\n", "地面线文件第1行：断面应以“BEGIN,桩号”开始!"},
        {"BEGIN 100\r\n", "地面线文件第1行：断面应以“BEGIN,桩号”开始!"},
        {"BEGIN,K0+100\r\n-5,100\r\nBEGIN,200\r\n", "地面线文件第1行：桩号K0+100的断面只有1个点，至少要2个!"},
        {"BEGIN,100\r\n-5,100\r\n5,1x\r\n", "地面线文件第3行：高程“1x”不是数字!"},
        {"BEGIN,100\r\n-5,100\r\n5,101,3\r\n", "地面线文件第3行：应为“偏距,高程”两个字段!"},
        {"BEGIN,100\r\n-5,100\r\n20000,101\r\n", "地面线文件第3行：偏距“20000”超出了范围!"},
        {"BEGIN,100\r\n-5,100\r\n5,101\r\n-5.000,99\r\n", "地面线文件第4行：偏距-5.000在第2行已有!"},
        {"BEGIN,100\r\n-5,100\r\n5,101\r\nBEGIN,K0+100.000:2\r\n-5,100\r\n5,101\r\n",
         "地面线文件第4行：桩号K0+100.000在第1行已有一个断面!"},
        {Gbk("BEGIN,一百\r\n"), "地面线文件第1行：“一百”不是桩号"},
        {"BEGIN,160\r\n-5,100\r\n5,101\r\n", "地面线文件第1行：桩号160不在路线上"},
    };
    const ChainageBuild chain = BuildChainage({{2, "K0+150.000", "K0+170.000"}});
    for (const auto& row : table) {
        const GroundFileRead read = ReadGroundFile(row.bytes, chain.chain);
        EXPECT_EQ(read.strMessage.rfind(row.message, 0), 0u) << read.strMessage << "\nwanted " << row.message;
        EXPECT_TRUE(read.sections.empty());
    }
}

namespace {

// Ground on the plane H = 100 + 0.01 (X − X0) − 0.03 (Y − Y0) over the square
// X0…X0 + 100, Y0…Y0 + 100: its corners and scattered points inside.
double Plane(double x, double y) { return 100 + 0.01 * (x - X0) - 0.03 * (y - Y0); }

std::vector<MeasuredPoint> PlanePoints() {
    std::vector<MeasuredPoint> points;
    const auto add = [&](double x, double y) { points.push_back({"P" + std::to_string(points.size()), x, y, Plane(x, y)}); };
    for (double x : {X0, X0 + 100})
        for (double y : {Y0, Y0 + 100}) add(x, y);
    unsigned seed = 12345;
    const auto next = [&] { return (seed = seed * 1103515245u + 12345u) / 4294967296.0; };
    for (int k = 0; k < 300; ++k) add(X0 + 1 + 98 * next(), Y0 + 1 + 98 * next());
    return points;
}

}  // namespace

TEST(GroundModel, ASectionOfPlanarGroundLiesOnThePlaneAndStopsAtTheEdgeOfTheModel) {
    const GroundModelBuild b = GroundModel::Build(PlanePoints());
    ASSERT_TRUE(b.Ok()) << b.strMessage;
    EXPECT_EQ(b.model.Points(), 304u);
    // Across a road heading 30° at the square's middle; then due east (across it runs south), 80 m each way.
    const double az = kPi / 6;
    const std::vector<SectionLine> lines = {{10, CPlanePoint(X0 + 50, Y0 + 50), az, ""},
                                            {20, CPlanePoint(X0 + 50, Y0 + 50), kPi / 2, ""}};
    const std::vector<GroundSection> near = b.model.Cut(lines, 20), far = b.model.Cut(lines, 80);
    ASSERT_EQ(near[0].dStation, 10);
    for (const GroundSection* s : {&near[0], &near[1], &far[0], &far[1]}) {
        ASSERT_GE(s->points.size(), 10u);
        const double across = (s->dStation == 10 ? az : kPi / 2) + kPi / 2;
        for (std::size_t k = 0; k < s->points.size(); ++k) {
            const GroundPoint& p = s->points[k];
            if (k > 0) {
                EXPECT_GE(p.dOffset - s->points[k - 1].dOffset, 0.001);
            }
            EXPECT_NEAR(p.dElevation, Plane(X0 + 50 + p.dOffset * std::cos(across), Y0 + 50 + p.dOffset * std::sin(across)), 1e-9);
        }
    }
    EXPECT_NEAR(near[0].points.front().dOffset, -20, 1e-9);
    EXPECT_NEAR(near[0].points.back().dOffset, 20, 1e-9);
    // 30° off the square's sides the line leaves it 50 / cos 30° from the middle; square across, 50.
    EXPECT_NEAR(far[0].points.front().dOffset, -50 / std::cos(kPi / 6), 1e-9);
    EXPECT_NEAR(far[1].points.back().dOffset, 50, 1e-9);
    // A line beside the model has no section.
    EXPECT_TRUE(b.model.Cut({{30, CPlanePoint(X0 + 300, Y0), 0, ""}}, 50)[0].points.empty());
}

// A survey 200 m square with a notch 80 m wide cut into its north side: the
// TIN's hull spans the notch, and every triangle over it reaches at least
// 40 m across the line. A line across from the middle of the south half
// running north stops at the notch (50 m out) unless such triangles are
// taken for ground.
TEST(GroundModel, TrianglesOverGroundNobodySurveyedAreNoGround) {
    std::vector<MeasuredPoint> points;
    for (int x = 0; x <= 200; x += 10)
        for (int y = 0; y <= 200; y += 10)
            if (x <= 100 || y <= 60 || y >= 140)
                points.push_back({"P" + std::to_string(points.size()), X0 + x, Y0 + y, Plane(X0 + x, Y0 + y)});
    const GroundModelBuild b = GroundModel::Build(points);
    ASSERT_TRUE(b.Ok()) << b.strMessage;
    // Heading east, so across runs along X: negative offsets to the north.
    const std::vector<SectionLine> middle = {{0, CPlanePoint(X0 + 50, Y0 + 100), kPi / 2, ""}};
    const struct { double maxEdge, north, south; } table[] = {{30, -50, 50}, {1000, -100, 50}};
    for (const auto& row : table) {
        const std::vector<GroundSection> s = b.model.Cut(middle, 100, row.maxEdge);
        ASSERT_FALSE(s[0].points.empty()) << row.maxEdge;
        EXPECT_NEAR(s[0].points.front().dOffset, row.north, 1e-9) << row.maxEdge;
        EXPECT_NEAR(s[0].points.back().dOffset, row.south, 1e-9) << row.maxEdge;
    }
    // Its centre in the notch, the line keeps the ground nearest the centre: from the notch's floor south.
    const std::vector<GroundSection> inNotch = b.model.Cut({{0, CPlanePoint(X0 + 150, Y0 + 100), kPi / 2, ""}}, 100, 30);
    ASSERT_FALSE(inNotch[0].points.empty());
    EXPECT_NEAR(inNotch[0].points.front().dOffset, 50, 1e-9);
}

TEST(GroundModel, PointsThatMakeNoModelAreRefusedByName) {
    const MeasuredPoint a{"A", X0, Y0, 100}, b{"B", X0 + 10, Y0, 101}, c{"C", X0, Y0 + 10, 102};
    const struct { std::vector<MeasuredPoint> points; const char* message; } table[] = {
        {{a, b, c, {"D", X0 + 10, Y0 + 10, std::nullopt}}, "地面点“D”没有高程，不能用来构三角网!"},
        {{a, b, c, {"A2", X0, Y0, 100.5}}, "地面点“A”与“A2”在同一位置（X 3800000.000，Y 500000.000），高程却不同（100.000、100.500）!"},
        {{a, b, {"E", X0 + 20, Y0, 99}}, "地面点不足三个，或都在一条直线上：构不成三角网!"},
        {{a, b}, "地面点不足三个，或都在一条直线上：构不成三角网!"},
        {{a, b, c, {"A2", X0, Y0, 100}}, ""},  // the same point twice
    };
    for (const auto& row : table) EXPECT_EQ(GroundModel::Build(row.points).strMessage, row.message);
}

TEST(GroundModel, ACrewsPointsGoToTheNearestStationWithinTheBand) {
    const Alignment road = EastRoad();
    const std::vector<SectionLine> lines = {SectionLineAt(road, 100), SectionLineAt(road, 120)};
    // A point at station s, offset o lies at X0 − o, Y0 + s.
    const auto at = [](const char* name, double s, double o, std::optional<double> h) {
        return MeasuredPoint{Gbk(name), X0 - o, Y0 + s, h};
    };
    const std::vector<MeasuredPoint> points = {
        at("左1", 100.2, -5, 99), at("中", 100, 0, 100), at("右1", 99.9, 7, 98), at("a", 120.4, 3, 97),
        at("b", 120, -4, 96), at("a2", 120.1, 3.0004, 95), at("间", 110, 2, 94), at("无高程", 100, 1, std::nullopt),
        at("外", -30, 0, 90)};
    const CrewSections crew = GroupCrewPoints(road, points, lines, 0.5);
    ASSERT_EQ(crew.sections.size(), 2u);
    const std::vector<std::pair<double, double>> want[2] = {{{-5, 99}, {0, 100}, {7, 98}}, {{-4, 96}, {3, 97}}};
    for (std::size_t k = 0; k < 2; ++k) {
        ASSERT_EQ(crew.sections[k].points.size(), want[k].size()) << k;
        for (std::size_t i = 0; i < want[k].size(); ++i) {
            EXPECT_NEAR(crew.sections[k].points[i].dOffset, want[k][i].first, 0.001);
            EXPECT_EQ(crew.sections[k].points[i].dElevation, want[k][i].second);
        }
    }
    EXPECT_EQ(GbkToUtf8(crew.strFurthest), "a");
    EXPECT_NEAR(crew.dFurthest, 0.4, 1e-6);
    EXPECT_EQ(crew.messages, (std::vector<std::string>{"点“间”离最近的断面K0+100.000有10.000米，超出0.500米，未用",
                                                        "点“无高程”没有高程，未用", "点“外”在路线之外（反查不到桩号），未用",
                                                        "点“a2”与点“a”在K0+120.000断面上偏距相同（3.000米），未用"}));
}
