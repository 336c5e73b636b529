#include "model/ValueTables.h"
#include "model/DisplayFormats.h"
#include "model/NearestIndex.h"

#include <gtest/gtest.h>

namespace m7410 {

TEST(ValueTables, EntriesAreTheNearestDoublesOfTheirDecimalValues) {
    EXPECT_EQ(FreqTable[0], 19.7);
    EXPECT_EQ(FreqTable[76], 179.0);
    EXPECT_EQ(FreqTable[136], 1000.0);
    EXPECT_EQ(FreqTable[243], 21900.0);
    for (int i = 1; i < FreqCount; ++i)
        EXPECT_LT(FreqTable[i - 1], FreqTable[i]) << i;

    EXPECT_EQ(EqGainTable[0], -24.0);
    EXPECT_EQ(EqGainTable[1], -23.8);
    EXPECT_EQ(EqGainTable[120], 0.0);
    EXPECT_EQ(EqGainTable[180], 12.0);
    EXPECT_EQ(OutputGainTable[0], -20.0);
    EXPECT_EQ(OutputGainTable[120], -8.0);
    EXPECT_EQ(OutputGainTable[200], 0.0);
    EXPECT_EQ(OutputGainTable[204], 0.4);
    EXPECT_EQ(OutputGainTable[250], 5.0);
    EXPECT_EQ(QTable[0], 0.2);
    EXPECT_EQ(QTable[2], 0.6);
    EXPECT_EQ(QTable[4], 1.0);
    EXPECT_EQ(QTable[179], 36.0);
}

TEST(ValueTables, ListsAndFilterFamilies) {
    EXPECT_EQ(FilterTypeList[0], "12db-Bworth");
    EXPECT_EQ(FilterTypeList[11], "48db-Bessel");
    EXPECT_EQ(EqTypeList[1], "LS6");
    EXPECT_EQ(LimiterThresholdList[19], "0dBu");
    EXPECT_EQ(LimiterAttackList[0], "0.5 ms");
    EXPECT_EQ(LimiterReleaseList[6], "5000ms");
    EXPECT_EQ(filterTypeInfo(4).order, 3);
    EXPECT_EQ(filterTypeInfo(4).family, FilterFamily::LinkwitzRiley);
    EXPECT_EQ(filterTypeInfo(9).order, 8);
    EXPECT_EQ(filterTypeInfo(11).family, FilterFamily::Bessel);
}

TEST(NearestIndex, NearestWinsMidpointGoesLowOutsideGivesTheEnds) {
    EXPECT_EQ(nearestIndex(FreqTable, 20.0), 0);
    EXPECT_EQ(nearestIndex(FreqTable, 21900.0), 243);
    EXPECT_EQ(nearestIndex(FreqTable, 1010.0), 136);
    EXPECT_EQ(nearestIndex(FreqTable, 1020.0), 137);
    EXPECT_EQ(nearestIndex(FreqTable, 1015.0), 136); // exact midpoint
    EXPECT_EQ(nearestIndex(FreqTable, 5.0), 0);
    EXPECT_EQ(nearestIndex(FreqTable, 99999.0), 243);
    EXPECT_EQ(nearestIndex(EqGainTable, 0.11), 121);
    EXPECT_EQ(nearestIndex(QTable, 36.0), 179);
}

TEST(NearestIndex, OutputGainNeedsAnExactEntry) {
    EXPECT_EQ(outputGainIndexOf(0.0), 200);
    EXPECT_EQ(outputGainIndexOf(-8.0), 120);
    EXPECT_EQ(outputGainIndexOf(5.0), 250);
    EXPECT_EQ(outputGainIndexOf(2.04), -1);
    EXPECT_EQ(outputGainIndexOf(-20.1), -1);
}

TEST(DisplayFormats, TablesLevelsAndVolume) {
    EXPECT_EQ(formatFrequency(0), "19.7");
    EXPECT_EQ(formatFrequency(136), "1000");
    EXPECT_EQ(formatFrequency(243), "21900");
    EXPECT_EQ(formatEqGain(120), "0");
    EXPECT_EQ(formatEqGain(1), "-23.8");
    EXPECT_EQ(formatEqGain(180), "12");
    EXPECT_EQ(formatQ(4), "1");
    EXPECT_EQ(formatQ(0), "0.2");
    EXPECT_EQ(formatQ(179), "36");
    EXPECT_EQ(formatOutputGain(120), "-8.0 dB");
    EXPECT_EQ(formatOutputGain(250), "5.0 dB");
    EXPECT_EQ(formatOutputGain(0), "-20.0 dB");
    EXPECT_EQ(formatOutputGain(200), "0.0 dB");
    EXPECT_EQ(formatVolume(0), "Mute");
    EXPECT_EQ(formatVolume(1), "-60.0 dB");
    EXPECT_EQ(formatVolume(301), "0.0 dB");
    EXPECT_EQ(formatVolume(300), "-0.2 dB");
    EXPECT_EQ(formatDb(-0.0), "0.0 dB");
    EXPECT_EQ(formatDb(-0.04), "0.0 dB");
    EXPECT_EQ(formatPolarity(0), "+");
    EXPECT_EQ(formatPolarity(3), "-");
}

TEST(DisplayFormats, DelayInMillisecondsMetresAndFeet) {
    const DelayTexts longest = formatDelay(464);
    EXPECT_EQ(longest.ms, "9.744 Ms");
    EXPECT_EQ(longest.metres, "3.356 Mm");
    EXPECT_EQ(longest.feet, "11.011 Ft");
    const DelayTexts main = formatDelay(240);
    EXPECT_EQ(main.ms, "5.040 Ms");
    EXPECT_EQ(main.metres, "1.736 Mm");
    EXPECT_EQ(main.feet, "5.695 Ft");
    EXPECT_EQ(formatDelay(0).ms, "0.000 Ms");
    EXPECT_EQ(formatDelay(0).feet, "0.000 Ft");
}

} // namespace m7410
