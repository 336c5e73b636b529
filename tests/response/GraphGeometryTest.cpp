#include "response/GraphGeometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace m7410 {
namespace {

TEST(GraphGeometry, ColumnsAndMarkersMapFrequencies) {
    const GraphGeometry g;
    EXPECT_EQ(g.left(), 60);
    EXPECT_EQ(g.right(), 33);
    EXPECT_EQ(g.columnCount(), 672);
    EXPECT_DOUBLE_EQ(g.columnFrequency(101), 20.0);
    EXPECT_NEAR(g.columnFrequency(682), 20000.0, 1e-9);
    EXPECT_NEAR(g.columnFrequency(42), 9.9, 0.05);
    EXPECT_NEAR(g.columnFrequency(713), 28900.0, 50.0);
    EXPECT_NEAR(g.columnFrequency(99), 19.53, 0.005);
    // Marker columns use 46, grid columns 47: 1 kHz is marker column 430 but grid column 429.
    EXPECT_EQ(g.markerColumn(1000.0), 430);
    EXPECT_EQ(g.markerColumn(19.7), 99);
    EXPECT_EQ(g.markerColumn(21900.0), 689);

    const std::vector<int> columns = {101, 135, 159, 177, 193, 206, 217, 227, 236,
                                      294, 328, 352, 371, 386, 399, 410, 420, 429,
                                      487, 521, 545, 564, 579, 592, 604, 613, 622};
    auto expected = columns.begin();
    for (double decade : {10.0, 100.0, 1000.0}) {
        for (int m = 2; m <= 10; ++m)
            EXPECT_EQ(g.gridColumn(decade * m), *expected++);
    }
}

TEST(GraphGeometry, LevelsMapToRowsAndMarkerRowsBackToGains) {
    const GraphGeometry g;
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(g.gridRow(j), (std::vector{40, 63, 86, 109, 133, 156, 179, 202}[j - 1]));
    EXPECT_EQ(g.levelToRow(15.0), 16); // one row above the frame
    EXPECT_EQ(g.levelToRow(0.0), 86);
    EXPECT_EQ(g.levelToRow(-24.0), 198);
    EXPECT_EQ(g.levelToRow(-30.0), 227);
    EXPECT_EQ(g.levelToRow(-100.0), 555); // not limited to the frame
    // Unusable levels still give rows that integer drawing code can take.
    const int far = g.levelToRow(-std::numeric_limits<double>::infinity());
    EXPECT_GT(far, 10000);
    EXPECT_EQ(g.levelToRow(std::numeric_limits<double>::quiet_NaN()), far);
    EXPECT_LT(g.levelToRow(std::numeric_limits<double>::infinity()), -10000);

    EXPECT_DOUBLE_EQ(g.markerGain(86), 0.0);
    EXPECT_DOUBLE_EQ(g.markerGain(198), -23.8); // the -24 dB marker computes at -23.8 dB
    EXPECT_DOUBLE_EQ(g.markerGain(16), 15.0);
}

} // namespace
} // namespace m7410
