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

void FitProblem::levels(const BandValues& band, double* out) const {
    const bool shelf = band.type == EqTypeLowShelf || band.type == EqTypeHighShelf;
    const Section s = band.type == EqTypeLowShelf    ? lowShelfSection(band.hz, band.gain)
                      : band.type == EqTypeHighShelf ? highShelfSection(band.hz, band.gain)
                                                     : peakingSection(band.hz, band.gain, band.q);
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
