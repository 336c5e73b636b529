// Band curves at a measurement's own points, and the fit's cost.
#include "fit/FitProblem.h"

#include "model/EqBand.h"
#include "response/EqDesign.h"
#include "response/GraphGeometry.h"
#include "response/ResponseConstants.h"
#include "response/SectionCascade.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

FitProblem::FitProblem(std::vector<double> hz, std::vector<double> base)
    : freqs(std::move(hz)), baseError(std::move(base)) {
    for (double f : freqs) {
        // The same angles the graph's columns use for each band type.
        const double wp = PeakingTwoPi * f / SampleRate;
        const double ws = ColumnTwoPi * f / SampleRate;
        peakCos.push_back(std::cos(wp));
        peakSin.push_back(std::sin(wp));
        shelfCos.push_back(std::cos(ws));
        shelfSin.push_back(std::sin(ws));
    }
}

namespace {

bool isShelf(const BandValues& band) {
    return band.type == EqTypeLowShelf || band.type == EqTypeHighShelf;
}

Section sectionOf(const BandValues& band) {
    return band.type == EqTypeLowShelf    ? lowShelfSection(band.hz, band.gain)
           : band.type == EqTypeHighShelf ? highShelfSection(band.hz, band.gain)
                                          : peakingSection(band.hz, band.gain, band.q);
}

// A section's terms as SectionCascade.h writes the magnitude: numerator
// ((B0 + B2) cos w + B1) + j (B0 - B2) sin w, denominator likewise with 1, A1, A2, all over a0.
struct Terms {
    double numCos, numConst, numSin, denCos, denConst, denSin;
};

Terms termsOf(const Section& s) {
    const double b0 = s.b0 / s.a0;
    const double b1 = s.b1 / s.a0;
    const double b2 = s.b2 / s.a0;
    const double a1 = s.a1 / s.a0;
    const double a2 = s.a2 / s.a0;
    return {b0 + b2, b1, b0 - b2, 1.0 + a2, a1, 1.0 - a2};
}

// 40 ln(m) / ln(101) of the magnitude m is (20 / ln(101)) ln(m^2).
const double SquaredLevelFactor = 20.0 / std::log(101.0);

} // namespace

void FitProblem::derivatives(const BandValues& band, double* dLog2Freq, double* dGain,
                             double* dLog2Q) const {
    const double* c = isShelf(band) ? shelfCos.data() : peakCos.data();
    const double* si = isShelf(band) ? shelfSin.data() : peakSin.data();
    const int n = size();
    // Central differences of the terms; their mean stands for the terms at the band itself,
    // which keeps a shelf at exactly 0 dB (a unit section) differentiable.
    constexpr double H = 1e-5;
    const auto shifted = [&band](int which, double by) {
        BandValues b = band;
        if (which == 0) b.hz *= std::exp2(by);
        if (which == 1) b.gain += by;
        if (which == 2) b.q *= std::exp2(by);
        return termsOf(sectionOf(b));
    };
    double* outs[3] = {dLog2Freq, dGain, isShelf(band) ? nullptr : dLog2Q};
    if (isShelf(band) && dLog2Q) std::fill(dLog2Q, dLog2Q + n, 0.0);
    for (int which = 0; which < 3; ++which) {
        double* out = outs[which];
        if (!out) continue;
        const Terms lo = shifted(which, -H / 2);
        const Terms hi = shifted(which, H / 2);
        const Terms t{(lo.numCos + hi.numCos) / 2, (lo.numConst + hi.numConst) / 2,
                      (lo.numSin + hi.numSin) / 2, (lo.denCos + hi.denCos) / 2,
                      (lo.denConst + hi.denConst) / 2, (lo.denSin + hi.denSin) / 2};
        const Terms d{(hi.numCos - lo.numCos) / H,   (hi.numConst - lo.numConst) / H,
                      (hi.numSin - lo.numSin) / H,   (hi.denCos - lo.denCos) / H,
                      (hi.denConst - lo.denConst) / H, (hi.denSin - lo.denSin) / H};
        for (int i = 0; i < n; ++i) {
            const double nr = t.numCos * c[i] + t.numConst;
            const double ni = t.numSin * si[i];
            const double dr = t.denCos * c[i] + t.denConst;
            const double di = t.denSin * si[i];
            const double dnr = d.numCos * c[i] + d.numConst;
            const double dni = d.numSin * si[i];
            const double ddr = d.denCos * c[i] + d.denConst;
            const double ddi = d.denSin * si[i];
            out[i] = 2.0 * SquaredLevelFactor *
                     ((nr * dnr + ni * dni) / (nr * nr + ni * ni) -
                      (dr * ddr + di * ddi) / (dr * dr + di * di));
        }
    }
}

void FitProblem::levels(const BandValues& band, double* out) const {
    const bool shelf = isShelf(band);
    const Section s = sectionOf(band);
    const double* c = shelf ? shelfCos.data() : peakCos.data();
    const double* si = shelf ? shelfSin.data() : peakSin.data();
    const int n = size();
    if (s.isUnit() || band.gain == 0.0) {
        std::fill(out, out + n, 0.0);
        return;
    }
    // The cascade evaluator works on at most a graph's width of columns at a time.
    for (int at = 0; at < n; at += CurveCapacity) {
        const int count = std::min(CurveCapacity, n - at);
        cascadeLevels({&s, 1}, c + at, si + at, count, out + at);
    }
}

double FitProblem::cost(const double* e, const double* oldBand, const double* newBand) const {
    const int n = size();
    double sum = 0.0;
    double squares = 0.0;
    for (int i = 0; i < n; ++i) {
        double r = e[i];
        if (oldBand) r -= oldBand[i];
        if (newBand) r += newBand[i];
        sum += r;
        squares += r * r;
    }
    const double mean = sum / n;
    return std::max(0.0, squares / n - mean * mean);
}

} // namespace m7410
