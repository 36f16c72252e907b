// 四参数: solved from common points with hand-worked figures, applied both
// ways, refused with reasons, and kept in its .vxf file.
#include <gtest/gtest.h>

#include <cmath>

#include "core/files/FourParamCsv.h"
#include "core/grid/FourParam.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

using namespace vexaline;

namespace {

// North in the design grid turns to a bearing of atan(3/4) east of north
// in the construction grid: cosα 0.8, sinα 0.6, K 1. By hand, from A:
// ΔX = 1000 − (0.8·3805000 − 0.6·500000) = −2743000,
// ΔY = 2000 − (0.8·500000 + 0.6·3805000) = −2681000.
const std::vector<CommonPoint> kWorked = {
    {"A", CPlanePoint(3805000, 500000), CPlanePoint(1000, 2000)},
    {"B", CPlanePoint(3806000, 500000), CPlanePoint(1800, 2600)},  // 1000 m north → (800, 600)
};
const FourParam kWorkedParams{-2743000, -2681000, std::atan2(0.6, 0.8), 1};

}  // namespace

TEST(FourParam, TheWorkedPairGivesItsParametersAndAThirdPointFollows) {
    const FourSolve s = SolveFourParam(kWorked);
    ASSERT_TRUE(s.Ok()) << s.strMessage;
    EXPECT_NEAR(s.params.dDx, -2743000, 1e-6);
    EXPECT_NEAR(s.params.dDy, -2681000, 1e-6);
    EXPECT_NEAR(s.params.dRotation * 180 / 3.141592653589793, 36.86989764584402, 1e-11);  // 36°52′11.6315″
    EXPECT_NEAR(s.params.dScale, 1, 1e-12);
    EXPECT_FALSE(s.rms);  // two points: no redundancy
    // C is (500, 500) from A: turned to (0.8·500 − 0.6·500, 0.8·500 + 0.6·500) = (100, 700).
    const CPlanePoint c = ApplyFour(s.params, CPlanePoint(3805500, 500500));
    EXPECT_NEAR(c.X, 1100, 1e-6);
    EXPECT_NEAR(c.Y, 2700, 1e-6);
    const CPlanePoint back = InverseFour(s.params, c);
    EXPECT_NEAR(back.X, 3805500, 1e-6);
    EXPECT_NEAR(back.Y, 500500, 1e-6);
}

// A 200 m square, its first point measured 8 mm too far north in the
// target grid. Worked by hand on reduced coordinates (±d, ±d), ε = 8 mm:
// a = 1 + ε/8d, b = −ε/8d, so v = (ε/2, 0), (−ε/4, ε/4), (0, 0), (−ε/4, −ε/4)
// and VᵀV = ε²/2, RMS = √(ε²/2 / 4) = ε/√8. The source grid is turned a
// quarter and moved: the residuals do not change.
TEST(FourParam, ResidualsAndRmsOfAPerturbedSquareAreTheHandWorkedOnes) {
    const double d = 100, e = 0.008;
    const double square[4][2] = {{d, d}, {d, -d}, {-d, -d}, {-d, d}};
    std::vector<CommonPoint> points;
    for (int i = 0; i < 4; ++i) {
        const double x = square[i][0], y = square[i][1];
        points.push_back({"P" + std::to_string(i + 1), CPlanePoint(3805000 - y, 500000 + x),
                          CPlanePoint(24000 + x + (i == 0 ? e : 0), 38512000 + y)});
    }
    const FourSolve s = SolveFourParam(points);
    ASSERT_TRUE(s.Ok()) << s.strMessage;
    const double v[4][2] = {{e / 2, 0}, {-e / 4, e / 4}, {0, 0}, {-e / 4, -e / 4}};
    ASSERT_EQ(s.residuals.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.residuals[i].strName, points[i].strName);
        EXPECT_NEAR(s.residuals[i].vx, v[i][0], 1e-9) << i;
        EXPECT_NEAR(s.residuals[i].vy, v[i][1], 1e-9) << i;
    }
    ASSERT_TRUE(s.rms);
    EXPECT_NEAR(*s.rms, e / std::sqrt(8.0), 1e-9);
    EXPECT_NEAR(s.params.dScale, std::hypot(1 + e / (8 * d), e / (8 * d)), 1e-12);
    EXPECT_TRUE(s.outliers.empty());  // four points cannot show one
}

TEST(FourParam, APointFarOffTheOthersIsNamed) {
    std::vector<CommonPoint> points;
    for (int i = 0; i < 10; ++i) {
        const double a = i * 0.6283185307179586, x = 500 * std::cos(a), y = 500 * std::sin(a);
        const double noise = (i % 3 - 1) * 0.001;
        points.push_back({"K" + std::to_string(i), CPlanePoint(3805000 + x, 500000 + y),
                          CPlanePoint(1000 + x + noise + (i == 6 ? 0.05 : 0), 2000 + y - noise)});
    }
    const FourSolve s = SolveFourParam(points);
    ASSERT_TRUE(s.Ok()) << s.strMessage;
    EXPECT_EQ(s.outliers, std::vector<std::string>{"K6"});
}

TEST(FourParam, PointsThatCannotTieTwoGridsAreRefusedWithTheReason) {
    auto scaled = [](double k) {
        return std::vector<CommonPoint>{{"A", CPlanePoint(0, 0), CPlanePoint(0, 0)},
                                        {"B", CPlanePoint(1000, 0), CPlanePoint(1000 * k, 0)}};
    };
    std::vector<CommonPoint> swapped = kWorked;  // the target's X and Y exchanged
    swapped.push_back({"C", CPlanePoint(3805500, 500500), CPlanePoint(1100, 2700)});
    for (CommonPoint& p : swapped) std::swap(p.target.X, p.target.Y);
    const struct {
        std::vector<CommonPoint> points;
        std::string message;
    } cases[] = {
        {{}, Format(text::kFourTooFew, std::size_t{0})},
        {{kWorked[0]}, Format(text::kFourTooFew, std::size_t{1})},
        {{kWorked[0], kWorked[1], {"C", CPlanePoint(3805000.0004, 500000), CPlanePoint(5000, 5000)}},
         Format(text::kFourCoincident, "A", "C")},
        {{kWorked[0], {"B", CPlanePoint(3806000, 500000), CPlanePoint(1000, 2000.0009)}},
         Format(text::kFourCoincident, "A", "B")},
        {scaled(1.0101), Format(text::kFourScale, 1.0101, 10100.0)},
        {scaled(0.98), Format(text::kFourScale, 0.98, -20000.0)},
    };
    for (const auto& c : cases) {
        const FourSolve s = SolveFourParam(c.points);
        EXPECT_EQ(s.strMessage, c.message);
        EXPECT_TRUE(s.residuals.empty());
    }
    // Exchanged X and Y mirror the grid: no turn fits three points, and the
    // least-squares scale of the mirror image falls far below 1.
    EXPECT_FALSE(SolveFourParam(swapped).Ok());
}

TEST(FourParamCsv, TheFileHoldsTheFourRowsAndReadsBack) {
    const std::string bytes = FourParamCsvText(kWorkedParams);
    EXPECT_EQ(bytes,
              "\xEF\xBB\xBF参数,值\r\nΔX,-2743000.000000\r\nΔY,-2681000.000000\r\n旋转角,36.521163153\r\n尺度,1\r\n");
    const FourParamRead read = ReadFourParamCsv(bytes);
    ASSERT_TRUE(read.Ok()) << read.strMessage;
    EXPECT_EQ(read.params.dDx, -2743000);
    EXPECT_NEAR(read.params.dRotation, kWorkedParams.dRotation, 0.5e-5 / 206264.8);  // the text's 0.00001″
    const FourParam k{0, 0, 0, 1.0000123456789012};
    EXPECT_EQ(ReadFourParamCsv(FourParamCsvText(k)).params.dScale, k.dScale);  // every digit
    // Any order, LF, blanks round the names.
    const FourParamRead lf = ReadFourParamCsv("参数,值\n尺度,0.99999\n 旋转角 ,-0.0030\nΔY,1\nΔX,2\n");
    ASSERT_TRUE(lf.Ok()) << lf.strMessage;
    EXPECT_NEAR(lf.params.dRotation, -30 / 206264.80624709636, 1e-15);
    EXPECT_EQ(lf.params.dScale, 0.99999);
}

TEST(FourParamCsv, ABadFileIsRefusedNamingTheLine) {
    const std::string head = "参数,值\r\n", three = "ΔX,1\r\nΔY,2\r\n旋转角,0.1\r\n";
    const struct {
        std::string bytes, message;
    } cases[] = {
        {"ΔX,1\r\n", Format(text::kCsvBadHeader, text::kFourTableName, text::kFourCsvHeader)},
        {head + three, Format(text::kFourMissing, "尺度")},
        {head + three + "比例,1\r\n", Format(text::kFourUnknownRow, 5, "比例")},
        {head + three + "ΔX,3\r\n", Format(text::kFourTwice, 5, "ΔX")},
        {head + three + "尺度,1.0x\r\n", Format(text::kFourNotANumber, 5, "尺度", "1.0x", text::kFourNumber)},
        {head + "旋转角,0.7000\r\n", Format(text::kFourNotANumber, 2, "旋转角", "0.7000", text::kFourAngle)},
        {head + three + "尺度,1.5\r\n", Format(text::kFourScale, 1.5, 500000.0)},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFourParamCsv(c.bytes).strMessage, c.message) << c.bytes;
}

TEST(FourParamCsv, CommonPointsAreReadWithTheirNames) {
    const CommonPointsRead read =
        ReadCommonPointsCsv("\xEF\xBB\xBF点名,X,Y,X',Y'\r\nA,3805000,500000,1000,2000\r\n\"B 2\",3806000,500000,1800,2600\r\n");
    ASSERT_TRUE(read.Ok()) << read.strMessage;
    ASSERT_EQ(read.points.size(), 2u);
    EXPECT_EQ(read.points[1].strName, "B 2");
    EXPECT_EQ(read.points[1].target.Y, 2600);
    const std::string head = "点名,X,Y,X',Y'\n";
    EXPECT_EQ(ReadCommonPointsCsv(head + "A,1,2,3,4\n,1,2,3,4\n").strMessage, Format(text::kCommonNoName, 3));
    EXPECT_EQ(ReadCommonPointsCsv(head + "A,1,2,3\n").strMessage, Format(text::kCommonNotANumber, 2, "A", "Y'", ""));
    EXPECT_EQ(ReadCommonPointsCsv(head + "A,1,2,3,4e8\n").strMessage, Format(text::kCommonNotANumber, 2, "A", "Y'", "4e8"));
}
