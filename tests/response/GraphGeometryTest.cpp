#include "response/GraphGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace m7410 {
namespace {

TEST(GraphGeometry, MappingsOfTheDefaultGraph) {
    const GraphGeometry g;
    EXPECT_EQ(g.left(), 60);
    EXPECT_EQ(g.right(), 33);
    EXPECT_EQ(g.columnCount(), 672);
    EXPECT_DOUBLE_EQ(g.columnFrequency(101), 20.0);
    EXPECT_NEAR(g.columnFrequency(682), 20000.0, 1e-9);
    EXPECT_NEAR(g.columnFrequency(42), 9.9, 0.05);
    EXPECT_NEAR(g.columnFrequency(713), 28900.0, 50.0);
    // Marker columns use 46, grid columns 47: 1 kHz is marker column 430 but grid column 429.
    EXPECT_EQ(g.markerColumn(1000.0), 430);
    EXPECT_EQ(g.gridColumn(1000.0), 429);
    EXPECT_EQ(g.markerColumn(21900.0), 689);

    EXPECT_EQ(g.levelToRow(15.0), 16); // one row above the frame
    EXPECT_EQ(g.levelToRow(-30.0), 227);
    EXPECT_EQ(g.levelToRow(-100.0), 555); // not limited to the frame
    EXPECT_DOUBLE_EQ(g.markerGain(86), 0.0);
    EXPECT_DOUBLE_EQ(g.markerGain(198), -23.8); // the -24 dB marker computes at -23.8 dB
}

TEST(GraphGeometry, UnusableLevelsStillGiveDrawableRows) {
    const GraphGeometry g;
    const int far = g.levelToRow(-std::numeric_limits<double>::infinity());
    EXPECT_GT(far, 10000);
    EXPECT_EQ(g.levelToRow(std::numeric_limits<double>::quiet_NaN()), far);
    EXPECT_LT(g.levelToRow(std::numeric_limits<double>::infinity()), -10000);
}

} // namespace
} // namespace m7410
