// Curves against a plain per-column evaluation and against values known from filter theory.
#include "model/ChannelModel.h"
#include "model/ValueTables.h"
#include "response/CrossoverDesign.h"
#include "response/EqDesign.h"
#include "response/ResponseConstants.h"
#include "response/ResponseCurves.h"
#include "response/SectionCascade.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace m7410 {
namespace {

const double LevelScale = 40.0 / std::log(101.0); // dB of e on the unit's level scale
constexpr int Columns = 672;

double dbOf(double magnitude) {
    return LevelScale * std::log(magnitude);
}

// The evaluation written out column by column, with sqrt and one logarithm per section.
std::vector<double> plainLevels(const std::vector<Section>& sections, double twoPi) {
    std::vector<double> out;
    for (int x = 42; x <= 713; ++x) {
        const double f = 20.0 * std::pow(10.0, 3.0 * (x - 101) / 581.0);
        const double w = twoPi * f / 96000.0;
        double level = 0.0;
        for (const Section& s : sections) {
            const double b0 = s.b0 / s.a0, b1 = s.b1 / s.a0, b2 = s.b2 / s.a0;
            const double a1 = s.a1 / s.a0, a2 = s.a2 / s.a0;
            const double nr = (b0 + b2) * std::cos(w) + b1, ni = (b0 - b2) * std::sin(w);
            const double dr = (1 + a2) * std::cos(w) + a1, di = (1 - a2) * std::sin(w);
            const double m = std::sqrt((nr * nr + ni * ni) / (dr * dr + di * di));
            level += 40.0 * std::log(m) / std::log(101.0);
        }
        out.push_back(level);
    }
    return out;
}

double maxDifference(const Curve& curve, const std::vector<double>& expected) {
    double worst = 0.0;
    for (int i = 0; i < Columns; ++i)
        worst = std::max(worst, std::abs(curve[i] - expected[i]));
    return worst;
}

double maxAbs(const Curve& curve) {
    double worst = 0.0;
    for (int i = 0; i < Columns; ++i)
        worst = std::max(worst, std::abs(curve[i]));
    return worst;
}

std::vector<Section> asVector(const FilterSections& s) {
    return {s.begin(), s.end()};
}

TEST(FilterResponse, CrossoverCurvesEqualThePlainEvaluation) {
    ChannelModel model;
    ResponseCurves curves;
    for (int type = 0; type < FilterTypeCount; ++type) {
        for (int index : {0, 1, 40, 136, 200, 242, 243}) {
            model.crossover(1).hpf.freq = index;
            model.crossover(1).lpf.freq = index;
            curves.computeHighPass(model, 1, type);
            curves.computeLowPass(model, 1, type);
            const auto hp = plainLevels(asVector(highPassSections(highPassCornerHz(index), type)),
                                        6.283185307179586);
            const auto lp = plainLevels(asVector(lowPassSections(lowPassCornerHz(index), type)),
                                        6.283185307179586);
            EXPECT_LT(maxDifference(curves.hpfCurve(1), hp), 1e-9) << type << " " << index;
            EXPECT_LT(maxDifference(curves.lpfCurve(1), lp), 1e-9) << type << " " << index;
        }
    }
}

TEST(FilterResponse, BandCurvesEqualThePlainEvaluationAtTheMarker) {
    ChannelModel model;
    ResponseCurves curves;
    const int band = 9;
    for (int type = 0; type < EqTypeCount; ++type) {
        for (MarkerPosition m : {MarkerPosition{97, 32}, {300, 150}, {689, 198}, {430, 60}}) {
            model.band(band).type = type;
            model.band(band).q = 17;
            curves.setMarker(band, m);
            curves.computeBand(model, band);
            const double f0 = 20.0 * std::pow(10.0, 3.0 * (m.x - 101) / 581.0);
            const double gain = std::trunc((15.0 - (m.y - 16) / 211.0 * 45.0) * 10.0) / 10.0;
            const Section s = type == 0   ? peakingSection(f0, gain, QTable[17])
                              : type == 1 ? lowShelfSection(f0, gain)
                                          : highShelfSection(f0, gain);
            const double twoPi = type == 0 ? 2 * 3.141592 : 6.283185307179586;
            EXPECT_LT(maxDifference(curves.bandCurve(band), plainLevels({s}, twoPi)), 1e-9)
                << type << " " << m.x << "," << m.y;
        }
    }
}

// At its design frequency a second-order section has magnitude Q = 1/(2x), a first-order one
// 1/sqrt(1 + K^2) and a Bessel section 1/|1 - E + jD|; one type of each kind of section.
TEST(FilterResponse, SectionsHaveTheirTheoreticalLevelAtTheDesignFrequency) {
    const double corner = 1000.0;
    const auto high = [&](int type) {
        return cascadeLevelAt(highPassSections(corner, type),
                              corner / highPassDivisor(type) * DesignAngularFactor);
    };
    const auto low = [&](int type) {
        return cascadeLevelAt(lowPassSections(corner, type),
                              corner / lowPassDivisor(type) * DesignAngularFactor);
    };
    // 12 dB Butterworth (Q = 0.71) and Linkwitz-Riley: about -3.01 and -6.02 dB.
    EXPECT_NEAR(high(0), dbOf(1.0 / (2.0 * 0.70422535)), 1e-9);
    EXPECT_NEAR(low(0), dbOf(1.0 / (2.0 * 0.70422535)), 1e-9);
    EXPECT_NEAR(high(1), dbOf(0.5), 1e-9);
    EXPECT_NEAR(dbOf(0.5), -6.0077, 1e-4);
    // 18 dB Butterworth: first order with K = 1 times Q = 1, exactly -3.01 dB.
    EXPECT_NEAR(high(3), dbOf(std::sqrt(0.5)), 1e-9);
    EXPECT_NEAR(low(3), dbOf(std::sqrt(0.5)), 1e-9);
    EXPECT_NEAR(high(5), dbOf(1.0 / std::sqrt(1.0 + 0.756 * 0.756) / (2.0 * 0.72463768)), 1e-9);
    // Bessel low-passes: bilinear sections pre-warped at the divided corner.
    EXPECT_NEAR(low(2), dbOf(1.0 / std::hypot(1.0 - 0.3333333333, 1.0)), 1e-9);
    EXPECT_NEAR(
        low(5),
        dbOf(1.0 / std::hypot(1.0 - 0.154812441, 0.5693712514) / std::hypot(1.0, 0.430628846)),
        1e-9);
}

// Far from the corner every type falls by 6 dB per octave per order.
TEST(FilterResponse, StopbandSlopeFollowsTheOrder) {
    const auto omega = [](double hz) { return 6.283185307179586 * hz / 96000.0; };
    for (int type = 0; type < FilterTypeCount; ++type) {
        const double perOctave = filterTypeInfo(type).order * dbOf(2.0);
        const FilterSections hp = highPassSections(4000.0, type);
        const FilterSections lp = lowPassSections(100.0, type);
        EXPECT_NEAR(cascadeLevelAt(hp, omega(62.5)) - cascadeLevelAt(hp, omega(125.0)), -perOctave,
                    0.3)
            << FilterTypeList[type];
        EXPECT_NEAR(cascadeLevelAt(lp, omega(3200.0)) - cascadeLevelAt(lp, omega(1600.0)),
                    -perOctave, 0.3)
            << FilterTypeList[type];
    }
}

TEST(FilterResponse, LowestHighPassAndHighestLowPassAreEffectivelyOff) {
    ChannelModel model;
    model.crossover(0).hpf.freq = 0;
    model.crossover(0).lpf.freq = FreqIndexMax;
    ResponseCurves curves;
    for (int type = 0; type < FilterTypeCount; ++type) {
        curves.computeHighPass(model, 0, type);
        EXPECT_LT(maxAbs(curves.hpfCurve(0)), 0.1) << FilterTypeList[type];
    }
    // The highest setting (shown 21900 Hz) is computed at 60000 Hz.
    curves.computeLowPass(model, 0, 0);
    const auto at60k = plainLevels(asVector(lowPassSections(60000.0, 0)), 6.283185307179586);
    const auto at21900 = plainLevels(asVector(lowPassSections(21900.0, 0)), 6.283185307179586);
    EXPECT_LT(maxDifference(curves.lpfCurve(0), at60k), 1e-9);
    EXPECT_GT(maxDifference(curves.lpfCurve(0), at21900), 1.0);
}

TEST(FilterResponse, FlatBandsShelvesIgnoreQAndPeaksReachTheirGain) {
    ChannelModel model;
    ResponseCurves curves;
    // 0 dB markers give exactly flat curves for every type.
    for (int type = 0; type < EqTypeCount; ++type) {
        model.band(3).type = type;
        curves.placeMarker(model, 3);
        curves.computeBand(model, 3);
        EXPECT_EQ(maxAbs(curves.bandCurve(3)), 0.0) << type;
    }
    // A shelf's curve does not depend on Q; its far side reaches the full gain.
    model.band(3) = EqBand{136, EqTypeLowShelf, 120, 180, 4};
    curves.placeMarker(model, 3);
    curves.computeBand(model, 3);
    const Curve shelf = curves.bandCurve(3);
    model.band(3).q = 150;
    curves.computeBand(model, 3);
    EXPECT_EQ(curves.bandCurve(3), shelf);
    const double gain = curves.geometry().markerGain(curves.marker(3).y);
    EXPECT_NEAR(shelf[0], dbOf(std::pow(10.0, gain / 20.0)), 0.05);
    EXPECT_NEAR(shelf[Columns - 1], 0.0, 0.2);
    model.band(3).type = EqTypeHighShelf;
    curves.computeBand(model, 3);
    EXPECT_NEAR(curves.bandCurve(3)[0], 0.0, 0.05);
    // Shelves reach half their dB gain (magnitude A) at their design frequency, which sits
    // at 1.2727 (low) and 0.76923 (high) times the nominal one.
    const double a = std::pow(10.0, 6.0 / 40.0);
    EXPECT_NEAR(cascadeLevelAt(std::vector{lowShelfSection(1000.0, 6.0)},
                               1000.0 * 1.2727272727 * DesignAngularFactor),
                dbOf(a), 1e-9);
    EXPECT_NEAR(cascadeLevelAt(std::vector{highShelfSection(1000.0, 6.0)},
                               1000.0 * 0.76923076923 * DesignAngularFactor),
                dbOf(a), 1e-9);

    // A band at 19.7 Hz has its marker in column 99 and is computed at f(99) = 19.53 Hz: with a
    // narrow peak the maximum sits in that column at the full gain (12 dB as 40 ln(m) / ln 101).
    model.band(3) = EqBand{0, EqTypePeaking, 180, 120, 179};
    curves.placeMarker(model, 3);
    ASSERT_EQ(curves.marker(3).x, 99);
    curves.computeBand(model, 3);
    const Curve& peak = curves.bandCurve(3);
    const auto top = std::max_element(peak.begin(), peak.begin() + Columns) - peak.begin();
    EXPECT_EQ(top, 99 - 42);
    const double g = curves.geometry().markerGain(curves.marker(3).y);
    EXPECT_NEAR(peak[top], dbOf(std::pow(10.0, g / 20.0)), 1e-3);
}

TEST(FilterResponse, LevelScaleAndChannelSum) {
    EXPECT_NEAR(levelOfMagnitude(10.0), 19.96, 0.005); // not 20.0

    // The channel sum adds exactly its own six bands and two crossover curves.
    ChannelModel model;
    model.crossover(2).hpf = {100, 6};
    model.crossover(2).lpf = {180, 9};
    model.crossover(1).hpf = {200, 6};
    for (int b = 0; b < EqBandCount; ++b)
        model.band(b).peakGain = 100 + b;
    ResponseCurves curves;
    curves.recomputeAll(model);
    std::vector<double> sum(Columns);
    curves.channelLevels(2, sum.data());
    for (int i = 0; i < Columns; i += 37) {
        double expected = curves.hpfCurve(2)[i] + curves.lpfCurve(2)[i];
        for (int b = 12; b < 18; ++b)
            expected += curves.bandCurve(b)[i];
        EXPECT_NEAR(sum[i], expected, 1e-12);
    }
}

TEST(FilterResponse, OutOfRangeInputStaysInsideTheArrays) {
    ChannelModel model;
    model.crossover(0).hpf = {-5, 40};
    model.crossover(0).lpf = {999, -1};
    model.band(0) = EqBand{-1, 7, 5000, -5, 900};
    ResponseCurves curves;
    curves.computeHighPass(model, 0, 40);
    curves.computeLowPass(model, 0, -1);
    curves.placeMarker(model, 0);
    curves.computeBand(model, 0);
    curves.computeHighPass(model, 4, 0);
    curves.computeBand(model, 24);
    curves.setMarker(-1, {1, 1});
    EXPECT_EQ(curves.hpfCurve(7), Curve{});
    EXPECT_EQ(curves.marker(30), MarkerPosition{});
    for (int i = 0; i < Columns; ++i)
        ASSERT_TRUE(std::isfinite(curves.bandCurve(0)[i]));
}

} // namespace
} // namespace m7410
