// The points a fit works on and the cost of a set of band curves over them.
#pragma once

#include <vector>

namespace m7410 {

// One band with engineering values; type as EqBand's (peaking, low shelf, high shelf).
struct BandValues {
    int type = 0;
    double hz = 1000.0;
    double gain = 0.0;
    double q = 1.0;
};

// The measurement's points in the fit range with their base error, measured - target (plus
// any bands kept as they are), and the angles the response model evaluates the bands at.
class FitProblem {
public:
    FitProblem(std::vector<double> hz, std::vector<double> base);

    int size() const { return static_cast<int>(freqs.size()); }
    const std::vector<double>& hz() const { return freqs; }
    const std::vector<double>& base() const { return baseError; }

    // The band's level in dB at every point, from the response model's sections.
    void levels(const BandValues& band, double* out) const;

    // The derivatives of the band's level at every point with respect to log2 of its frequency,
    // its gain in dB and log2 of its Q (a null pointer: not wanted), from the response model's
    // magnitude formula and the sections' coefficients differentiated numerically. They steer the
    // search only; every cost is computed from levels().
    void derivatives(const BandValues& band, double* dLog2Freq, double* dGain,
                     double* dLog2Q) const;

    // Mean square of base + sum of band curves with the mean removed, given e = that sum and
    // one band's curve replaced: e - oldBand + newBand. Either band curve may be null (flat).
    double cost(const double* e, const double* oldBand, const double* newBand) const;

private:
    std::vector<double> freqs;
    std::vector<double> baseError;
    std::vector<double> peakCos, peakSin, shelfCos, shelfSin;
};

} // namespace m7410
