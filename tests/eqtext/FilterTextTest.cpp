// Filter text import and export: both file formats, snapping, refusal, deviation, round trip.
#include "eqtext/FilterImport.h"
#include "eqtext/FilterTextParser.h"
#include "eqtext/FilterTextWriter.h"
#include "model/TypedValues.h"
#include "model/ValueTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <sstream>

using namespace m7410;

namespace {

std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(M7410_EQTEXT_DATA) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

ChannelBands startBands() {
    ChannelBands bands{};
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[row].freq = EqStartFreq[row];
    return bands;
}

struct Snapped {
    int type, freq, gain, q;
};

void expectBand(const EqBand& b, Snapped s) {
    EXPECT_EQ(b.type, s.type);
    EXPECT_EQ(b.freq, s.freq);
    EXPECT_EQ(b.gainInForce(), s.gain);
    EXPECT_EQ(b.q, s.q);
}

} // namespace

TEST(FilterText, RewExportWithHeaderNoneAndCrLf) {
    const FilterText text = parseFilterText(dataFile("rew-room.txt"));
    // Header lines before the first filter and the "None" entry are not worth a word.
    EXPECT_TRUE(text.skipped.empty());
    ASSERT_EQ(text.filters.size(), 5u);
    EXPECT_EQ(text.filters[0].typeText, "PK");
    EXPECT_DOUBLE_EQ(text.filters[0].freq, 63.0);
    EXPECT_DOUBLE_EQ(text.filters[0].gain, -5.0);
    EXPECT_DOUBLE_EQ(*text.filters[0].q, 4.0);
    EXPECT_EQ(text.filters[2].kind, TextFilterKind::LowShelf);
    EXPECT_EQ(text.filters[2].shelfSlopeDb, 12);
    EXPECT_EQ(text.filters[3].line, 14);

    ChannelBands start = startBands();
    start[2].q = 11;
    const FilterImport plan = planFilterImport(text, start);
    ASSERT_EQ(plan.error, "");
    expectBand(plan.bands[0], {EqTypePeaking, 40, 95, 19});    // 62.5 Hz, -5 dB, Q 4
    expectBand(plan.bands[1], {EqTypePeaking, 64, 78, 30});    // 125 Hz, -8.4 dB, Q 6.2
    expectBand(plan.bands[2], {EqTypeLowShelf, 29, 140, 11});  // 45.5 Hz, +4 dB, Q kept
    expectBand(plan.bands[3], {EqTypePeaking, 168, 133, 6});   // 2520 Hz, +2.6 dB, Q 1.4
    expectBand(plan.bands[4], {EqTypeHighShelf, 208, 105, 4}); // 8000 Hz, -3 dB
    // The sixth row has no filter: it goes flat and keeps its frequency.
    expectBand(plan.bands[5], {EqTypePeaking, EqStartFreq[5], EqGainZeroIndex, 4});
    // A shelf keeps the band's peaking gain, which it does not use.
    EXPECT_EQ(plan.bands[2].peakGain, EqGainZeroIndex);
}

TEST(FilterText, ApoConfigurationSnapsAsTypedAndReportsWhatItSkips) {
    const FilterText text = parseFilterText(dataFile("apo-config.txt"));
    ASSERT_TRUE(text.preamp);
    EXPECT_DOUBLE_EQ(*text.preamp, -6.5);
    ASSERT_EQ(text.skipped.size(), 5u);
    EXPECT_EQ(text.skipped[0].line, 2);
    EXPECT_EQ(text.skipped[0].reason, "unknown line");
    EXPECT_EQ(text.skipped[1].line, 4);
    EXPECT_EQ(text.skipped[2].line, 8);
    EXPECT_EQ(text.skipped[2].reason, "\"abc\" is not a number");
    EXPECT_EQ(text.skipped[3].reason, "the filter is switched off");
    EXPECT_NE(text.skipped[4].reason.find("LP"), std::string::npos);

    ASSERT_EQ(text.filters.size(), 5u);
    const FilterImport plan = planFilterImport(text, startBands());
    ASSERT_EQ(plan.error, "");
    // As the EQ fields snap typed values: 50 Hz gives 49.6, 1010 gives 1000, Q 1.15 gives 1.2.
    expectBand(plan.bands[0], {EqTypePeaking, 32, 103, 5});
    expectBand(plan.bands[1], {EqTypePeaking, 136, 137, 10}); // fields in another order
    expectBand(plan.bands[2], {EqTypeLowShelf, 63, 145, 4});
    // 25 kHz, -30 dB, +14 dB and Q 50 are held to the tables' ends.
    expectBand(plan.bands[3], {EqTypeHighShelf, 243, 0, 4});
    expectBand(plan.bands[4], {EqTypePeaking, 184, 180, 179});
}

TEST(FilterText, RefusesMoreFiltersThanBandsAndEmptyTexts) {
    const FilterImport many =
        planFilterImport(parseFilterText(dataFile("apo-too-many.txt")), startBands());
    EXPECT_NE(many.error.find("8 filters"), std::string::npos) << many.error;
    EXPECT_EQ(planFilterImport(parseFilterText("Filter 1: ON None\n"), startBands()).error,
              "The file holds no filter the unit can use.");
    EXPECT_EQ(importPreviewText(many), many.error + "\n");
}

TEST(FilterText, MalformedFilterLinesAreSkippedWithAReason) {
    const FilterText text = parseFilterText("Filter 1: ON PK Fc 100 Hz Gain -3 dB\n"
                                            "Filter 2: ON PK Fc 100 Hz Gain nan dB Q 1\n"
                                            "Filter 3: ON PK Fc 60000 Hz Gain -3 dB Q 1\n"
                                            "Filter 4: ON PK Fc 100 Hz Gain -3 dB Q 0\n"
                                            "Filter 5: ON PK Fc 100 Hz Gain -3 dB Q\n"
                                            "Filter 6: ON HS Fc 100 Hz Slope 3\n"
                                            "Preamp: loud\n");
    EXPECT_TRUE(text.filters.empty());
    ASSERT_EQ(text.skipped.size(), 7u);
    EXPECT_EQ(text.skipped[0].reason, "no Q");
    EXPECT_EQ(text.skipped[1].reason, "\"nan\" is not a number");
    EXPECT_EQ(text.skipped[6].reason, "unreadable preamp");
}

TEST(FilterText, RequestedShelvesHaveTheSlopeTheTextAsksFor) {
    const FilterText text = parseFilterText("Filter: ON LS Fc 200 Hz Gain 6 dB\n"
                                            "Filter: ON HS Fc 2000 Hz Gain -6 dB\n"
                                            "Filter: ON LS 6dB Fc 198 Hz Gain 6 dB\n");
    ASSERT_EQ(text.filters.size(), 3u);
    ASSERT_EQ(FreqTable[snapFrequency(198.0)], 198.0);
    const std::span<const TextFilter> low(&text.filters[0], 1);
    const std::span<const TextFilter> high(&text.filters[1], 1);
    const std::span<const TextFilter> lowSixDb(&text.filters[2], 1);
    // The graph's level scale is 0.2 % below 20 log10.
    EXPECT_NEAR(requestedLevel(low, 20.0), 6.0, 0.05);
    EXPECT_NEAR(requestedLevel(low, 200.0), 3.0, 0.05);
    EXPECT_NEAR(requestedLevel(low, 20000.0), 0.0, 0.01);
    EXPECT_NEAR(requestedLevel(high, 2000.0), -3.0, 0.05);
    EXPECT_NEAR(requestedLevel(high, 20.0), 0.0, 0.05);
    // A 6 dB shelf is the unit's own, which sits above its nominal frequency: the same level as
    // the band the unit would make of it, and not the 12 dB shelf's midpoint.
    EqBand unitShelf{snapFrequency(198.0), EqTypeLowShelf, EqGainZeroIndex, snapEqGain(6.0), 4};
    for (double hz : {20.0, 150.0, 250.0, 400.0, 20000.0})
        EXPECT_NEAR(requestedLevel(lowSixDb, hz), unitLevel({&unitShelf, 1}, hz), 1e-12) << hz;
    EXPECT_GT(std::abs(requestedLevel(lowSixDb, 198.0) - 3.0), 1.0);
}

TEST(FilterText, DeviationIsZeroOnTheTablesAndMatchesAnIndependentComputationOffThem) {
    const FilterImport onTable =
        planFilterImport(parseFilterText(dataFile("apo-on-table.txt")), startBands());
    ASSERT_EQ(onTable.error, "");
    EXPECT_EQ(onTable.deviation.largestDb, 0.0);

    // One peak off the tables: 1010 Hz, -3.45 dB, Q 2.15 becomes 1000 Hz, -3.4 dB, Q 2.2.
    const FilterImport off = planFilterImport(
        parseFilterText("Filter 1: ON PK Fc 1010 Hz Gain -3.45 dB Q 2.15\n"), startBands());
    ASSERT_EQ(off.error, "");
    // The peaking filter written out as H(z) and evaluated with complex numbers.
    const auto level = [](double f0, double g, double q, double hz) {
        const double w0 = f0 * 6.544985e-05;
        const double bw = std::asinh(1 / (2 * q)) / 0.34657359;
        const double alpha = std::sin(w0) * std::sinh(0.69314718 * bw * w0 / std::sin(w0));
        const double a = std::pow(10.0, g / 40);
        const std::complex<double> z1 = std::polar(1.0, -2 * 3.141592 * hz / 96000);
        const std::complex<double> h =
            (1 + alpha * a - 2 * std::cos(w0) * z1 + (1 - alpha * a) * z1 * z1) /
            (1 + alpha / a - 2 * std::cos(w0) * z1 + (1 - alpha / a) * z1 * z1);
        return 40 * std::log(std::abs(h)) / std::log(101.0);
    };
    double largest = 0, at = 0;
    for (int k = 0;; ++k) {
        const double hz = std::min(20.0 * std::exp2(k / 192.0), 20000.0);
        const double d = std::abs(level(1010, -3.45, 2.15, hz) - level(1000, -3.4, 2.2, hz));
        if (d > largest) largest = d, at = hz;
        if (hz == 20000.0) break;
    }
    EXPECT_GT(largest, 0.01);
    EXPECT_NEAR(off.deviation.largestDb, largest, 1e-9);
    EXPECT_DOUBLE_EQ(off.deviation.atHz, at);
    EXPECT_EQ(importPreviewText(off),
              "1: PK      1010 Hz     -3.45 dB  Q 2.15 -> PEQ  1000 Hz     -3.4 dB   Q 2.2\n"
              "Largest difference 20 Hz .. 20 kHz: " +
                  deviationText(off.deviation) + "\n");
}

TEST(FilterText, ExportThenImportGivesTheSameBands) {
    ChannelBands bands = startBands();
    bands[0] = {0, EqTypeLowShelf, 120, 150, 7};
    bands[1] = {64, EqTypePeaking, 0, 120, 179};
    bands[2] = {243, EqTypeHighShelf, 120, 0, 4};
    bands[3] = {136, EqTypePeaking, 180, 120, 0};
    bands[4] = {100, EqTypePeaking, 131, 120, 12};
    const std::string text = writeFilterText("High", bands);
    EXPECT_TRUE(text.starts_with("# M_7410 equaliser of channel \"High\"\nPreamp: 0 dB\n"));
    EXPECT_NE(text.find("Filter 1: ON LS 6dB Fc 19.7 Hz Gain 6 dB\n"), std::string::npos);
    EXPECT_NE(text.find("Filter 2: ON PK Fc 125 Hz Gain -24 dB Q 36\n"), std::string::npos);

    const FilterText back = parseFilterText(text);
    EXPECT_TRUE(back.skipped.empty());
    ASSERT_EQ(back.filters.size(), 6u);
    EXPECT_EQ(back.filters[0].shelfSlopeDb, 6);
    const FilterImport plan = planFilterImport(back, bands);
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.bands, bands);
}

// Every type, every frequency and a spread of gains and Qs: what export writes imports back to
// the same band, and the file's own response is then the unit's, to the hundredth of a dB shown.
TEST(FilterText, ExportAndImportAreInverseOnEveryTableValue) {
    const int gains[] = {0, 1, 59, 119, 121, 150, 179, 180};
    const int qs[] = {0, 1, 4, 50, 100, 178, 179};
    for (int type = 0; type < EqTypeCount; ++type) {
        for (int freq = 0; freq < FreqCount; freq += EqRowsPerChannel) {
            ChannelBands bands = startBands();
            for (int row = 0; row < EqRowsPerChannel; ++row) {
                const int step = freq / EqRowsPerChannel + row;
                EqBand& b = bands[row];
                b.type = type;
                b.freq = (freq + row) % FreqCount;
                b.setGainInForce(gains[step % std::size(gains)]);
                if (type == EqTypePeaking) b.q = qs[(step + row) % std::size(qs)];
            }
            const FilterText back = parseFilterText(writeFilterText("Low", bands));
            ASSERT_TRUE(back.skipped.empty());
            const FilterImport plan = planFilterImport(back, bands);
            ASSERT_EQ(plan.error, "");
            ASSERT_EQ(plan.bands, bands) << "type " << type << " frequency " << freq;
            ASSERT_LT(plan.deviation.largestDb, 0.005) << "type " << type << " frequency " << freq
                                                       << ": " << deviationText(plan.deviation);
        }
    }
}

TEST(FilterText, AFileWithNoUsableFilterSaysWhatIsWrongWithEachLine) {
    const FilterImport plan = planFilterImport(parseFilterText("Preamp: -3 dB\n"
                                                               "Filter 1: ON LP Fc 80 Hz\n"
                                                               "Filter 2: ON PK Fc 90 Hz Gain 2\n"),
                                               startBands());
    EXPECT_EQ(plan.error,
              "The file holds no filter the unit can use:\n"
              "line 2 skipped (filter type LP has no counterpart on the unit (peaking and "
              "shelves only)): Filter 1: ON LP Fc 80 Hz\n"
              "line 3 skipped (no Q): Filter 2: ON PK Fc 90 Hz Gain 2");
    EXPECT_EQ(preampNote(parseFilterText("Preamp: -3 dB\n")),
              "Preamp -3 dB is not applied: the unit's EQ has no overall gain.");
    EXPECT_EQ(preampNote(parseFilterText("Preamp: 0 dB\n")), std::nullopt);
}
