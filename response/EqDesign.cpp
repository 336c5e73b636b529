#include "response/EqDesign.h"

#include "response/ResponseConstants.h"

#include <cmath>

namespace m7410 {

namespace {

// The shelves sit at a fixed offset from the nominal frequency in the unit's model.
constexpr double LowShelfOffset = 1.2727272727;
constexpr double HighShelfOffset = 0.76923076923;
constexpr double ShelfSlope = 1.3;

struct Shelf {
    double a; // A = 10^(G/40)
    double c;
    double beta;
    Shelf(double w0, double gainDb) : a(std::pow(10.0, gainDb / 40.0)), c(std::cos(w0)) {
        beta = 2.0 * std::sqrt(a) * (std::sin(w0) / 2.0) *
               std::sqrt((a + 1.0 / a) * (1.0 / ShelfSlope - 1.0) + 2.0);
    }
};

} // namespace

Section peakingSection(double f0, double gainDb, double q) {
    const double bw = std::asinh(1.0 / (2.0 * q)) / 0.34657359;
    const double w0 = f0 * DesignAngularFactor;
    const double a = std::pow(10.0, gainDb / 40.0);
    const double sinW0 = std::sin(w0);
    const double alpha = sinW0 * std::sinh(0.69314718 * bw * w0 / sinW0);
    const double cos2 = -2.0 * std::cos(w0);
    return {1.0 + alpha * a, cos2, 1.0 - alpha * a, 1.0 + alpha / a, cos2, 1.0 - alpha / a};
}

Section lowShelfSection(double f0, double gainDb) {
    if (gainDb == 0.0) return {};
    const Shelf k(f0 * DesignAngularFactor * LowShelfOffset, gainDb);
    const double a = k.a;
    const double c = k.c;
    return {a * ((a + 1.0) - (a - 1.0) * c + k.beta), 2.0 * a * ((a - 1.0) - (a + 1.0) * c),
            a * ((a + 1.0) - (a - 1.0) * c - k.beta), (a + 1.0) + (a - 1.0) * c + k.beta,
            -2.0 * ((a - 1.0) + (a + 1.0) * c),       (a + 1.0) + (a - 1.0) * c - k.beta};
}

Section highShelfSection(double f0, double gainDb) {
    if (gainDb == 0.0) return {};
    const Shelf k(f0 * DesignAngularFactor * HighShelfOffset, gainDb);
    const double a = k.a;
    const double c = k.c;
    return {a * ((a + 1.0) + (a - 1.0) * c + k.beta), -2.0 * a * ((a - 1.0) + (a + 1.0) * c),
            a * ((a + 1.0) + (a - 1.0) * c - k.beta), (a + 1.0) - (a - 1.0) * c + k.beta,
            2.0 * ((a - 1.0) - (a + 1.0) * c),        (a + 1.0) - (a - 1.0) * c - k.beta};
}

} // namespace m7410
