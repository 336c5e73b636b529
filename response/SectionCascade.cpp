#include "response/SectionCascade.h"

#include "response/GraphGeometry.h"

#include <cmath>

namespace m7410 {

namespace {

// 40 ln(sqrt(r)) / ln(101) = (20 / ln(101)) ln(r) for a squared magnitude r.
const double SquaredLevelFactor = 20.0 / std::log(101.0);

// The terms of one section normalised by a0, grouped as the evaluation uses them.
struct Normalised {
    double numCos;   // B0 + B2
    double numConst; // B1
    double numSin;   // B0 - B2
    double denCos;   // 1 + A2
    double denConst; // A1
    double denSin;   // 1 - A2

    explicit Normalised(const Section& s) {
        const double b0 = s.b0 / s.a0;
        const double b1 = s.b1 / s.a0;
        const double b2 = s.b2 / s.a0;
        const double a1 = s.a1 / s.a0;
        const double a2 = s.a2 / s.a0;
        numCos = b0 + b2;
        numConst = b1;
        numSin = b0 - b2;
        denCos = 1.0 + a2;
        denConst = a1;
        denSin = 1.0 - a2;
    }
};

} // namespace

double cascadeLevelAt(std::span<const Section> sections, double omega) {
    const double c = std::cos(omega);
    const double s = std::sin(omega);
    double level = 0.0;
    for (const Section& section : sections) {
        const Normalised n(section);
        const double nr = n.numCos * c + n.numConst;
        const double ni = n.numSin * s;
        const double dr = n.denCos * c + n.denConst;
        const double di = n.denSin * s;
        level += SquaredLevelFactor * std::log((nr * nr + ni * ni) / (dr * dr + di * di));
    }
    return level;
}

void cascadeLevels(std::span<const Section> sections, const double* cosw, const double* sinw,
                   int count, double* levels) {
    // Split into plain multiply-add passes (which the compiler vectorises) and one pass of
    // logarithms.
    alignas(64) double num[CurveCapacity];
    alignas(64) double den[CurveCapacity];
    if (count > CurveCapacity) count = CurveCapacity;
    if (count <= 0) return;
    for (int i = 0; i < count; ++i) {
        num[i] = 1.0;
        den[i] = 1.0;
    }
    for (const Section& section : sections) {
        if (section.isUnit()) continue;
        const Normalised n(section);
        for (int i = 0; i < count; ++i) {
            const double nr = n.numCos * cosw[i] + n.numConst;
            const double ni = n.numSin * sinw[i];
            const double dr = n.denCos * cosw[i] + n.denConst;
            const double di = n.denSin * sinw[i];
            num[i] *= nr * nr + ni * ni;
            den[i] *= dr * dr + di * di;
        }
    }
    for (int i = 0; i < count; ++i)
        levels[i] = SquaredLevelFactor * std::log(num[i] / den[i]);
}

} // namespace m7410
