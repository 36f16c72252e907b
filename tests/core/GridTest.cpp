// Grids: published control figures and independent constructions through
// the EPSG zones and the custom Gauss–Krüger grid; D.MMSS texts; point
// files carried between grids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CoreFixture.h"
#include "core/files/MapExport.h"
#include "core/files/PointCoordinates.h"
#include "core/grid/Grid.h"
#include "core/text/DmsText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

using namespace vexaline;

namespace {

// CGCS2000: GRS80's a and 1/f.
constexpr long double kA = 6378137.0L, kF = 1 / 298.257222101L, kE2 = kF * (2 - kF), kEp2 = kE2 / (1 - kE2);
constexpr long double kRad = 3.14159265358979323846264338L / 180;

// The meridian arc from the equator to latitude B: M(B) = a(1−e²)/W³
// integrated by Simpson's rule (nothing of a projection library).
double MeridianArc(double degrees) {
    const int n = 4000;
    const long double b = degrees * kRad, h = b / n;
    auto m = [](long double p) { return kA * (1 - kE2) / std::pow(1 - kE2 * std::sin(p) * std::sin(p), 1.5L); };
    long double sum = m(0) + m(b);
    for (int i = 1; i < n; ++i) sum += (i % 2 ? 4 : 2) * m(i * h);
    return static_cast<double>(sum * h / 3);
}

// The Gauss–Krüger series of the surveying textbooks, to the sixth power
// of the longitude difference: within a micrometre of the exact projection
// 3° from the central meridian. x north, y east of the meridian, k0 = 1.
CPlanePoint GaussKruger(double latitude, double dLongitude) {
    const long double B = latitude * kRad, l = dLongitude * kRad, c = std::cos(B), t = std::tan(B);
    const long double N = kA / std::sqrt(1 - kE2 * std::sin(B) * std::sin(B)), e2 = kEp2 * c * c, t2 = t * t;
    const long double x = MeridianArc(latitude) + N * t * c * c * l * l / 2 +
                          N * t * std::pow(c, 4) * (5 - t2 + 9 * e2 + 4 * e2 * e2) * std::pow(l, 4) / 24 +
                          N * t * std::pow(c, 6) * (61 - 58 * t2 + t2 * t2 + 270 * e2 - 330 * e2 * t2) * std::pow(l, 6) / 720;
    const long double y = N * c * l + N * std::pow(c, 3) * (1 - t2 + e2) * std::pow(l, 3) / 6 +
                          N * std::pow(c, 5) * (5 - 18 * t2 + t2 * t2 + 14 * e2 - 58 * e2 * t2) * std::pow(l, 5) / 120;
    return CPlanePoint(static_cast<double>(x), static_cast<double>(y));
}

Grid Read(const char* text) {
    const GridRead read = ReadGrid(text);
    EXPECT_TRUE(read.grid) << text << ": " << read.strMessage;
    return read.grid.value_or(Grid());
}

GridTransform Between(const char* from, const char* to) {
    GridTransform::Make made = GridTransform::Between(Read(from), Read(to));
    EXPECT_TRUE(made.transform) << made.strMessage;
    return std::move(*made.transform);
}

}  // namespace

// Each grid's point against the textbook series: X = k0·x, Y = FE + k0·y.
TEST(Grid, EpsgZonesAndCustomGridsPlacePointsAsTheGaussKrugerSeriesDoes) {
    ASSERT_NEAR(MeridianArc(90), 10001965.7293, 0.0001);  // GRS80's quarter meridian, as Moritz publishes it
    const double h50 = 1 + 50 / 6371000.0, h1200 = 1 + 1200 / 6371000.0;
    const struct {
        const char* grid;
        double lat, lon, meridian, k0, falseEasting;
    } cases[] = {
        {"EPSG:4547", 30.0, 114.0, 114, 1, 500000},        // on the meridian: the arc itself
        {"EPSG:4547", 90.0, 114.0, 114, 1, 500000},        // the pole: the quarter meridian
        {"EPSG:4547", 22.5, 115.25, 114, 1, 500000},
        {"EPSG:4547", 40.75, 112.6, 114, 1, 500000},
        {"epsg:4526", 30.5, 114.9, 114, 1, 38500000},      // 3° zone 38, its number before Y
        {"EPSG:4509", 35.2, 119.5, 117, 1, 500000},        // 6° zone, 2.5° off its meridian
        {"EPSG:4498", 35.2, 119.5, 117, 1, 20500000},      // the same with zone 20 in front
        {"GK:114.3000,50", 30.2, 115.1, 114.5, h50, 500000},
        {" GK:114.3000 , 50 ", 30.2, 114.5, 114.5, h50, 500000},
        {"GK:114.302015,1200,400000", 27.9, 113.8, 114 + 30 / 60.0 + 20.15 / 3600, h1200, 400000},
        {"GK:-75.3,-20,0", -12.1, -76.0, -75.5, 1 - 20 / 6371000.0, 0},
    };
    for (const auto& c : cases) {
        GridTransform toGrid = Between("EPSG:4490", c.grid);
        const CPlanePoint gk = GaussKruger(c.lat, c.lon - c.meridian);
        std::vector<CPlanePoint> p{CPlanePoint(c.lat, c.lon)};
        ASSERT_FALSE(toGrid.Apply(p)) << c.grid;
        EXPECT_NEAR(p[0].X, c.k0 * gk.X, 0.001) << c.grid << " " << c.lat;
        EXPECT_NEAR(p[0].Y, c.falseEasting + c.k0 * gk.Y, 0.001) << c.grid << " " << c.lat;
        // And back: latitude and longitude to 1e-9°.
        ASSERT_FALSE(toGrid.Apply(p, true));
        EXPECT_NEAR(p[0].X, c.lat, 1e-9) << c.grid;
        EXPECT_NEAR(p[0].Y, c.lon, 1e-9) << c.grid;
    }
}

// EPSG's guidance note on projections works this point of the British
// National Grid (eastings first) from OSGB36 (latitude first).
TEST(Grid, ThePublishedTransverseMercatorExampleComesOutNorthAsX) {
    GridTransform t = Between("EPSG:4277", "EPSG:27700");
    std::vector<CPlanePoint> p{CPlanePoint(50.5, 0.5)};
    ASSERT_FALSE(t.Apply(p));
    EXPECT_NEAR(p[0].X, 69740.49, 0.01);
    EXPECT_NEAR(p[0].Y, 577274.99, 0.01);
}

TEST(Grid, AZoneAndTheEquivalentCustomGridAgreeToTheMillimetre) {
    const struct {
        const char *a, *b;
        double dy;  // what b's easting adds to a's
    } cases[] = {{"EPSG:4547", "GK:114", 0}, {"EPSG:4547", "GK:114,0,500000", 0}, {"EPSG:4547", "EPSG:4526", 38000000},
                 {"EPSG:4509", "GK:117,0,20500000", 20000000}};
    for (const auto& c : cases) {
        std::vector<CPlanePoint> p{CPlanePoint(3322012.345, 560123.456)};
        ASSERT_FALSE(Between(c.a, c.b).Apply(p));
        EXPECT_NEAR(p[0].X, 3322012.345, 0.001) << c.b;
        EXPECT_NEAR(p[0].Y, 560123.456 + c.dy, 0.001) << c.b;
    }
    // One custom grid to another: the projection height scales about the meridian.
    std::vector<CPlanePoint> p{CPlanePoint(3322012.345, 560000)};
    ASSERT_FALSE(Between("GK:114", "GK:114,637.1").Apply(p));
    EXPECT_NEAR(p[0].X, 3322012.345 * 1.0001, 0.001);
    EXPECT_NEAR(p[0].Y, 500000 + 60000 * 1.0001, 0.001);
}

TEST(Grid, TextsThatAreNoGridAreRefusedSayingWhy) {
    const struct {
        const char* text;
        std::string message;
    } cases[] = {
        {"UTM50", Format(text::kGridSyntax, "UTM50")},
        {"EPSG:", Format(text::kGridSyntax, "EPSG:")},
        {"EPSG:45x7", Format(text::kGridSyntax, "EPSG:45x7")},
        {"EPSG:99999", Format(text::kGridUnknown, "EPSG:99999")},
        {"EPSG:4978", Format(text::kGridKind, "EPSG:4978", "WGS 84")},   // geocentric
        {"EPSG:4979", Format(text::kGridKind, "EPSG:4979", "WGS 84")},   // latitude, longitude, height
        {"EPSG:5773", Format(text::kGridKind, "EPSG:5773", "EGM96 height")},
        {"EPSG:2229", Format(text::kGridUnit, "EPSG:2229", "NAD83 / California zone 5 (ftUS)", "US survey foot")},
        {"EPSG:2046", Format(text::kGridAxes, "EPSG:2046", "Hartebeesthoek94 / Lo15")},  // westing, southing
        {"GK:114.6000", Format(text::kGkMeridian, "GK:114.6000", "114.6000")},
        {"GK:181", Format(text::kGkMeridian, "GK:181", "181")},
        {"GK:", Format(text::kGkMeridian, "GK:", "")},
        {"GK:114,10001", Format(text::kGkHeight, "GK:114,10001", "10001", kGkMaxHeight)},
        {"GK:114,50m", Format(text::kGkHeight, "GK:114,50m", "50m", kGkMaxHeight)},
        {"GK:114,0,1e9", Format(text::kGkEasting, "GK:114,0,1e9", "1e9")},
        {"GK:114,0,500000,0", Format(text::kGridSyntax, "GK:114,0,500000,0")},
    };
    for (const auto& c : cases) {
        const GridRead read = ReadGrid(c.text);
        EXPECT_FALSE(read.grid) << c.text;
        EXPECT_EQ(read.strMessage, c.message) << c.text;
    }
    EXPECT_TRUE(Read("EPSG:4490").bGeographic);
    EXPECT_FALSE(Read("GK:114").bGeographic);
}

TEST(Grid, DatumsJoinedOnlyByAGuessAreRefused) {
    GridTransform::Make made = GridTransform::Between(Read("EPSG:2383"), Read("EPSG:4547"));  // Xian 1980
    EXPECT_FALSE(made.transform);
    EXPECT_EQ(made.strMessage, Format(text::kGridNoParameters, "EPSG:2383", "Xian 1980", "EPSG:4547", "China 2000"));
    made = GridTransform::ToMap(Read("EPSG:2383"));
    EXPECT_EQ(made.strMessage, Format(text::kGridMapDatum, "EPSG:2383", "Xian 1980"));
    // CGCS2000 and WGS 84 agree to a few centimetres: carried without a shift.
    std::vector<CPlanePoint> p{CPlanePoint(30.5, 114.9)};
    ASSERT_FALSE(Between("EPSG:4326", "EPSG:4490").Apply(p));
    EXPECT_EQ(p[0].X, 30.5);
    EXPECT_NEAR(p[0].Y, 114.9, 1e-12);
    made = GridTransform::ToMap(Read("EPSG:32650"));
    EXPECT_TRUE(made.transform) << made.strMessage;
}

TEST(Grid, PointsNoGridHoldsAreNamedByTheirIndex) {
    GridTransform t = Between("EPSG:4490", "EPSG:4547");
    const struct {
        CPlanePoint bad;
        bool inverse;
    } cases[] = {{CPlanePoint(90.000001, 114), false}, {CPlanePoint(-91, 114), false}, {CPlanePoint(30, 180.5), false},
                 {CPlanePoint(30, NAN), false},          {CPlanePoint(3e7, 500000), true}};  // beyond the pole
    for (const auto& c : cases) {
        std::vector<CPlanePoint> p{c.inverse ? CPlanePoint(3322012.345, 560123.456) : CPlanePoint(30, 114), c.bad};
        EXPECT_EQ(t.Apply(p, c.inverse), std::optional<std::size_t>(1)) << c.bad.X << " " << c.bad.Y;
    }
}

TEST(DmsText, DegreesMinutesSecondsAreReadDigitForDigit) {
    const struct {
        const char* text;
        std::optional<double> degrees;
    } cases[] = {
        {"39.5412345678", 39 + 54 / 60.0 + 12.345678 / 3600}, {"114.3", 114.5}, {"114.30", 114.5},
        {"-0.3000", -0.5}, {"+7", 7.0}, {" 12.0030 ", 12 + 30 / 3600.0}, {".3", 0.5}, {"0.0000", 0.0},
        {"1.6000", std::nullopt}, {"1.0060", std::nullopt}, {"1.2.3", std::nullopt}, {"1e5", std::nullopt},
        {"", std::nullopt}, {"-", std::nullopt}, {"12 .3", std::nullopt}, {"abc", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<double> v = ReadDmsDegrees(c.text);
        ASSERT_EQ(v.has_value(), c.degrees.has_value()) << c.text;
        if (v) {
            EXPECT_NEAR(*v, *c.degrees, 1e-13) << c.text;
        }
    }
}

TEST(DmsText, DegreesAreWrittenToTheGivenDecimalsOfASecond) {
    const struct {
        double degrees;
        int decimals;
        const char* text;
    } cases[] = {
        {39 + 54 / 60.0 + 12.345678 / 3600, 5, "39.541234568"}, {-0.5, 5, "-0.300000000"},
        {29.99999999999, 5, "30.000000000"}, {-1e-12, 5, "0.000000000"}, {36.86989764584402, 5, "36.521163153"},
        {114.5, 0, "114.3000"}, {0.25, 2, "0.150000"},
    };
    for (const auto& c : cases) EXPECT_EQ(DmsDegreesText(c.degrees, c.decimals), c.text) << c.degrees;
}

TEST(PointCoordinates, CoordinatesAreReplacedWhereTheyStandAndEveryOtherByteKept) {
    const struct {
        PointFormat format;
        CoordinateText in, out;
        std::string bytes, moved;
    } cases[] = {
        {PointFormat::CassDat, CoordinateText::Metres, CoordinateText::Dms,
         "P1,c1,500123.4567,3805000.1,12.345\r\n\r\nP2 , , 500200 , 3805100 \r\n",
         "P1,c1,114.300000000,30.150000000,12.345\r\n\r\nP2 , , 114.300000000 , 30.150000000 \r\n"},
        {PointFormat::Csv, CoordinateText::Degrees, CoordinateText::Metres,
         "\xEF\xBB\xBF点名,纬度,经度,高程\n\"A\",\"30.25\",114.5,7,note\nB,-30,-114.25\n",
         "\xEF\xBB\xBF点名,纬度,经度,高程\n\"A\",\"1.250\",2.500,7,note\nB,1.250,2.500\n"},
        {PointFormat::Vxp, CoordinateText::Metres, CoordinateText::Metres,
         "  \xB5\xE3\xC3\xFB    X\xD7\xF8\xB1\xEA       Y\xD7\xF8\xB1\xEA   \r\nD1      3805000.100 500000.200\r\n",
         "  \xB5\xE3\xC3\xFB    X\xD7\xF8\xB1\xEA       Y\xD7\xF8\xB1\xEA   \r\nD1      1.250       2.500     \r\n"},
    };
    for (const auto& c : cases) {
        const PointCoordinates read = ReadCoordinates(c.bytes, c.format, c.in);
        ASSERT_TRUE(read.Ok()) << read.strMessage;
        const CPlanePoint to = c.out == CoordinateText::Metres ? CPlanePoint(1.25, 2.5) : CPlanePoint(30.25, 114.5);
        const PointRewrite out = RewriteCoordinates(c.bytes, read, std::vector<CPlanePoint>(read.points.size(), to), c.out);
        EXPECT_EQ(out.bytes, c.moved);
    }
    const PointCoordinates read = ReadCoordinates("A,30.1500,114.3\n", PointFormat::Csv, CoordinateText::Dms);
    ASSERT_EQ(read.points.size(), 1u);
    EXPECT_DOUBLE_EQ(read.points[0].X, 30.25);
    EXPECT_DOUBLE_EQ(read.points[0].Y, 114.5);
}

TEST(PointCoordinates, ABadLineRefusesTheFileNamingIt) {
    const std::string latitude = Format(text::kImportBadLine, 2, text::kGridLatitude);
    const struct {
        PointFormat format;
        CoordinateText text;
        std::string bytes, message;
    } cases[] = {
        {PointFormat::Csv, CoordinateText::Metres, "A,1,2\nB,1\n", Format(text::kImportBadLine, 2, Format(text::kImportFieldCount, 3).c_str())},
        {PointFormat::Csv, CoordinateText::Metres, "A,1,2\nB,1,1e9\n", Format(text::kImportBadLine, 2, text::kImportBadNumber)},
        {PointFormat::CassDat, CoordinateText::Degrees, "A,,114,30\nB,,114,90.5\n", latitude},
        {PointFormat::Csv, CoordinateText::Degrees, "A,30,114\nB,30,-181\n", Format(text::kImportBadLine, 2, text::kGridLongitude)},
        {PointFormat::Csv, CoordinateText::Dms, "A,30,114\nB,30.6000,114\n",
         Format(text::kImportBadLine, 2, Format(text::kGridBadAngle, text::kGridDms).c_str())},
        {PointFormat::Vxp, CoordinateText::Dms, "D1      30.1500     114.3000  \r\n", text::kPointsNoLatLon},
    };
    for (const auto& c : cases) {
        const PointCoordinates read = ReadCoordinates(c.bytes, c.format, c.text);
        EXPECT_EQ(read.strMessage, c.message) << c.bytes;
        EXPECT_TRUE(read.points.empty());
    }
    // A .vxp's Y field holds 10 bytes: an 8-digit easting is refused by its line.
    const std::string vxp = "D1      3805000.100 500000.200\r\nD2      3805001.100 500001.200\r\n";
    const PointCoordinates read = ReadCoordinates(vxp, PointFormat::Vxp, CoordinateText::Metres);
    const PointRewrite out = RewriteCoordinates(vxp, read, {CPlanePoint(1, 2), CPlanePoint(1, 38500001.2)}, CoordinateText::Metres);
    EXPECT_EQ(out.strMessage, Format(text::kImportBadLine, 2, text::kImportTooWide));
    EXPECT_TRUE(out.bytes.empty());
}

// Every chord of the mapped centreline within 5 mm of the road as the road
// itself evaluates it between the chord's ends, and a vertex at every
// change point.
TEST(MapExport, TheCentrelineKeepsWithinFiveMillimetresAndHasEveryChangePoint) {
    const Alignment road = Alignment::Parse(DemoList());
    const std::vector<PlanSample> line = MapCentreline(road);
    ASSERT_GT(line.size(), 100u);
    for (std::size_t i = 1; i < line.size(); ++i) {
        const PlanSample &a = line[i - 1], &b = line[i];
        ASSERT_LT(a.dStation, b.dStation);
        for (double t : {0.125, 0.25, 0.5, 0.75, 0.875}) {
            const CPlanePoint p = road.At(a.dStation + t * (b.dStation - a.dStation), 0, 0).point;
            const double dx = b.point.X - a.point.X, dy = b.point.Y - a.point.Y;
            const double off = std::fabs((p.X - a.point.X) * dy - (p.Y - a.point.Y) * dx) / std::hypot(dx, dy);
            EXPECT_LT(off, 0.005) << a.dStation << " to " << b.dStation;
        }
    }
    for (const ChangePoint& row : road.Rows())
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [&](const PlanSample& s) { return s.dStation == *row.station; }))
            << *row.station;
}
