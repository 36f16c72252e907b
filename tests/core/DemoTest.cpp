// The sample files in examples/ are what a newcomer opens first: their
// change points must agree with the geometry, or the walkthrough lies.
#include <gtest/gtest.h>

#include <cmath>

#include "controldata/AlignmentFile.h"
#include "geometry/Evaluate.h"
#include "geometry/TextFields.h"
#include "geometry/TextFile.h"
#include "station/PointFile.h"

using namespace vexaline;

namespace {

std::string Example(const char* name) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/" + name, bytes), ReadStatus::Ok);
    return bytes;
}

}  // namespace

TEST(Demo, EveryElementEndsOnItsNextChangePoint) {
    std::string bytes = Example("demo.vxa");
    std::vector<std::string> lines = AlignmentRecords(bytes);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(bytes.size(), kAlignmentHeaderBytes + kAlignmentRecordBytes * lines.size());
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        PreparedElement element(lines[i], lines[i + 1]);
        ASSERT_TRUE(element.Ok()) << lines[i];
        for (std::size_t at : {i, i + 1}) {
            double station = ReadDoubleOr0(Field(lines[at], 0, 12));
            StakePoint p = element.Point(station, 0, 0);
            // Both ends land on their change points to the millimetre.
            EXPECT_NEAR(p.dX, ReadDoubleOr0(Field(lines[at], 34, 12)), 0.001) << "element " << i << " at " << station;
            EXPECT_NEAR(p.dY, ReadDoubleOr0(Field(lines[at], 46, 12)), 0.001) << "element " << i << " at " << station;
        }
    }
    // Tangent continuity: each element leaves in the direction the next one starts.
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        double station = ReadDoubleOr0(Field(lines[i + 1], 0, 12));
        double out = PreparedElement(lines[i], lines[i + 1]).Point(station, 0, 0).dAzimuth;
        double in = PreparedElement(lines[i + 1], lines[i + 2]).Point(station, 0, 0).dAzimuth;
        EXPECT_NEAR(std::remainder(out - in, 2 * M_PI), 0, 2e-5) << "at " << station;
    }
}

TEST(Demo, TraversePointsReadBackWhole) {
    std::string bytes = Example("demo.vxp");
    std::vector<std::string> lines = ParsePointFile(bytes);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], PointHeader());
    EXPECT_EQ(PointFileBytes(lines), bytes);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), kPointLineBytes);
}
