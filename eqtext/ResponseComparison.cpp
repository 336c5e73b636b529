#include "eqtext/ResponseComparison.h"

#include "model/ValueTables.h"
#include "response/EqDesign.h"
#include "response/ResponseConstants.h"
#include "response/SectionCascade.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

constexpr double LowestHz = 20.0;
constexpr double HighestHz = 20000.0;
constexpr int StepsPerOctave = 192;

double shelfOmega(double hz) {
    return ColumnTwoPi * hz / SampleRate;
}
double peakingOmega(double hz) {
    return PeakingTwoPi * hz / SampleRate;
}

// Second-order shelf of a given Q (0.7071 is the 12 dB/oct shelf of slope 1), designed at
// the shelf's midpoint frequency.
Section secondOrderShelf(bool low, double f0, double gainDb, double q) {
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = shelfOmega(f0);
    const double c = std::cos(w0);
    const double k = 2.0 * std::sqrt(a) * std::sin(w0) / (2.0 * q);
    if (low)
        return {a * ((a + 1) - (a - 1) * c + k), 2 * a * ((a - 1) - (a + 1) * c),
                a * ((a + 1) - (a - 1) * c - k), (a + 1) + (a - 1) * c + k,
                -2 * ((a - 1) + (a + 1) * c),    (a + 1) + (a - 1) * c - k};
    return {a * ((a + 1) + (a - 1) * c + k), -2 * a * ((a - 1) + (a + 1) * c),
            a * ((a + 1) + (a - 1) * c - k), (a + 1) - (a - 1) * c + k,
            2 * ((a - 1) - (a + 1) * c),     (a + 1) - (a - 1) * c - k};
}

} // namespace

double requestedLevel(std::span<const TextFilter> filters, double hz) {
    double level = 0.0;
    for (const TextFilter& f : filters) {
        if (f.kind == TextFilterKind::Peaking) {
            const Section s = peakingSection(f.freq, f.gain, f.q.value_or(1.0));
            level += cascadeLevelAt({&s, 1}, peakingOmega(hz));
            continue;
        }
        const bool low = f.kind == TextFilterKind::LowShelf;
        // A 6 dB shelf is the unit's own: export writes its shelves so, and they must read back
        // as the very curve the unit makes.
        const Section s = f.shelfSlopeDb != 6
                              ? secondOrderShelf(low, f.freq, f.gain, f.q.value_or(0.7071))
                          : low ? lowShelfSection(f.freq, f.gain)
                                : highShelfSection(f.freq, f.gain);
        level += cascadeLevelAt({&s, 1}, shelfOmega(hz));
    }
    return level;
}

double unitLevel(std::span<const EqBand> bands, double hz) {
    double level = 0.0;
    for (const EqBand& b : bands) {
        const double f0 = FreqTable[std::clamp(b.freq, 0, FreqCount - 1)];
        const double gain = EqGainTable[std::clamp(b.gainInForce(), 0, EqGainCount - 1)];
        if (b.type == EqTypeLowShelf || b.type == EqTypeHighShelf) {
            const Section s =
                b.type == EqTypeLowShelf ? lowShelfSection(f0, gain) : highShelfSection(f0, gain);
            level += cascadeLevelAt({&s, 1}, shelfOmega(hz));
        } else {
            const Section s = peakingSection(f0, gain, QTable[std::clamp(b.q, 0, QCount - 1)]);
            level += cascadeLevelAt({&s, 1}, peakingOmega(hz));
        }
    }
    return level;
}

std::vector<double> comparisonFrequencies() {
    std::vector<double> out;
    for (int k = 0;; ++k) {
        const double hz = LowestHz * std::exp2(static_cast<double>(k) / StepsPerOctave);
        if (hz >= HighestHz) break;
        out.push_back(hz);
    }
    out.push_back(HighestHz);
    return out;
}

Deviation largestDeviation(std::span<const TextFilter> filters, std::span<const EqBand> bands) {
    Deviation d;
    for (double hz : comparisonFrequencies()) {
        const double diff = std::abs(requestedLevel(filters, hz) - unitLevel(bands, hz));
        if (diff > d.largestDb) d = {diff, hz};
    }
    return d;
}

} // namespace m7410
