// Grid placement and joint Levenberg-Marquardt refinement on continuous band values.
#include "fit/ContinuousFit.h"

#include "model/EqBand.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

using Curves = std::vector<std::vector<double>>;

// A replaced band refined alone must come within this factor of the cost to be refined with
// all bands; peaks further apart than this many octaves are not re-placed as a pair.
constexpr double QuickMargin = 1e9;
constexpr double PairOctaves = 3.0;

BandValues clamped(BandValues b, const FitLimits& l) {
    b.hz = std::clamp(b.hz, l.loHz, l.hiHz);
    b.gain = std::clamp(b.gain, l.minGain, l.maxGain);
    b.q = std::clamp(b.q, l.minQ, l.maxQ);
    return b;
}

// The summed error base + every band's curve.
std::vector<double> totalOf(const FitProblem& p, const Curves& curves) {
    std::vector<double> e(p.base());
    for (const std::vector<double>& c : curves)
        for (std::size_t i = 0; i < e.size(); ++i)
            e[i] += c[i];
    return e;
}

Curves curvesOf(const FitProblem& p, const std::vector<BandValues>& bands) {
    Curves c(bands.size(), std::vector<double>(static_cast<std::size_t>(p.size())));
    for (std::size_t b = 0; b < bands.size(); ++b)
        p.levels(bands[b], c[b].data());
    return c;
}

// One refined value: frequency and Q on a log2 scale, gain in dB.
enum class Kind { Freq, Gain, Q };
struct Param {
    std::size_t band;
    Kind kind;
};

double get(const BandValues& b, Kind k) {
    return k == Kind::Freq ? std::log2(b.hz) : k == Kind::Gain ? b.gain : std::log2(b.q);
}
void set(BandValues& b, Kind k, double v) {
    if (k == Kind::Freq)
        b.hz = std::exp2(v);
    else if (k == Kind::Gain)
        b.gain = v;
    else
        b.q = std::exp2(v);
}
double lower(Kind k, const FitLimits& l) {
    return k == Kind::Freq ? std::log2(l.loHz) : k == Kind::Gain ? l.minGain : std::log2(l.minQ);
}
double upper(Kind k, const FitLimits& l) {
    return k == Kind::Freq ? std::log2(l.hiHz) : k == Kind::Gain ? l.maxGain : std::log2(l.maxQ);
}

// Solves the symmetric positive definite m x m system a x = b in place (b becomes x); false
// when it is singular.
bool solve(std::vector<double>& a, std::vector<double>& b, std::size_t m) {
    for (std::size_t k = 0; k < m; ++k) {
        double d = a[k * m + k];
        for (std::size_t j = 0; j < k; ++j)
            d -= a[k * m + j] * a[k * m + j];
        if (!(d > 0.0)) return false;
        d = std::sqrt(d);
        a[k * m + k] = d;
        for (std::size_t i = k + 1; i < m; ++i) {
            double s = a[i * m + k];
            for (std::size_t j = 0; j < k; ++j)
                s -= a[i * m + j] * a[k * m + j];
            a[i * m + k] = s / d;
        }
    }
    for (std::size_t i = 0; i < m; ++i) {
        double s = b[i];
        for (std::size_t j = 0; j < i; ++j)
            s -= a[i * m + j] * b[j];
        b[i] = s / a[i * m + i];
    }
    for (std::size_t i = m; i-- > 0;) {
        double s = b[i];
        for (std::size_t j = i + 1; j < m; ++j)
            s -= a[j * m + i] * b[j];
        b[i] = s / a[i * m + i];
    }
    return true;
}

double varianceOf(const std::vector<double>& e) {
    double sum = 0.0;
    double squares = 0.0;
    for (double v : e) {
        sum += v;
        squares += v * v;
    }
    const double n = static_cast<double>(e.size());
    return std::max(0.0, squares / n - (sum / n) * (sum / n));
}

// The shapes a new band may start from: for every type, a grid of frequencies 1/12 octave
// apart (and of Q for a peak), each at a gain of Probe dB, with its curve less its mean. They
// do not depend on the residual, so they are computed once per fit.
class PlacementGrid {
public:
    static constexpr double Probe = 6.0;

    PlacementGrid(const FitProblem& p, const FitLimits& l) : n(static_cast<std::size_t>(p.size())) {
        constexpr double Qs[] = {0.5, 0.8, 1.2, 1.8, 2.7, 4.0, 6.0, 9.0, 13.0, 20.0};
        const double octaves = std::log2(l.hiHz / l.loHz);
        const int steps = std::max(1, static_cast<int>(std::ceil(octaves * 12.0)));
        for (int s = 0; s <= steps; ++s) {
            const double hz = l.loHz * std::exp2(octaves * s / steps);
            for (double q : Qs)
                if (q >= l.minQ && q <= l.maxQ) shapes.push_back({EqTypePeaking, hz, Probe, q});
            shapes.push_back({EqTypeLowShelf, hz, Probe, 1.0});
            shapes.push_back({EqTypeHighShelf, hz, Probe, 1.0});
        }
        centred.resize(shapes.size() * n);
        variance.resize(shapes.size());
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            double* c = &centred[k * n];
            p.levels(shapes[k], c);
            double mean = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                mean += c[i];
            mean /= static_cast<double>(n);
            double v = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                c[i] -= mean;
                v += c[i] * c[i];
            }
            variance[k] = v;
        }
    }

    // The best few shapes by the first-order estimate, evaluated exactly at their fitted gain;
    // the best of them (gain 0 when none helps).
    BandValues bestPlacement(const FitProblem& p, const std::vector<double>& e,
                             const FitLimits& l) const {
        struct Candidate {
            std::size_t shape;
            double gain;
            double decrease; // of n * variance, to first order
        };
        std::vector<Candidate> candidates;
        candidates.reserve(shapes.size());
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            if (variance[k] <= 0.0) continue;
            const double* c = &centred[k * n];
            double cov = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                cov += e[i] * c[i];
            const double g = std::clamp(-cov / variance[k] * Probe, l.minGain, l.maxGain);
            const double scale = g / Probe;
            candidates.push_back({k, g, -2.0 * scale * cov - scale * scale * variance[k]});
        }
        const std::size_t keep = std::min<std::size_t>(candidates.size(), 12);
        std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep),
                          candidates.end(), [](const Candidate& a, const Candidate& b) {
                              return a.decrease > b.decrease;
                          });
        BandValues best;
        best.hz = l.loHz;
        best.gain = 0.0;
        double bestCost = varianceOf(e);
        std::vector<double> curve(n);
        std::vector<double> trial(n);
        for (std::size_t c = 0; c < keep; ++c) {
            BandValues b = shapes[candidates[c].shape];
            b.gain = candidates[c].gain;
            p.levels(b, curve.data());
            for (std::size_t i = 0; i < n; ++i)
                trial[i] = e[i] + curve[i];
            const double cost = varianceOf(trial);
            if (cost < bestCost) {
                bestCost = cost;
                best = b;
            }
        }
        return best;
    }

private:
    std::size_t n;
    std::vector<BandValues> shapes;
    std::vector<double> centred;
    std::vector<double> variance;
};

// The gain that fits the residual e best, to first order, for the band's shape.
double bestGain(const FitProblem& p, const std::vector<double>& e, BandValues b,
                const FitLimits& l) {
    constexpr double Probe = 6.0;
    b.gain = Probe;
    const std::size_t n = e.size();
    std::vector<double> curve(n);
    p.levels(b, curve.data());
    double eMean = 0.0;
    double sMean = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        eMean += e[i];
        sMean += curve[i];
    }
    eMean /= static_cast<double>(n);
    sMean /= static_cast<double>(n);
    double cov = 0.0;
    double var = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        cov += (e[i] - eMean) * (curve[i] - sMean);
        var += (curve[i] - sMean) * (curve[i] - sMean);
    }
    return var > 0.0 ? std::clamp(-cov / var * Probe, l.minGain, l.maxGain) : 0.0;
}

} // namespace

double bandsCost(const FitProblem& problem, const std::vector<BandValues>& bands) {
    const std::vector<double> e = totalOf(problem, curvesOf(problem, bands));
    return problem.cost(e.data(), nullptr, nullptr);
}

double refineBands(const FitProblem& p, std::vector<BandValues>& bands,
                 const std::vector<std::size_t>& which, const FitLimits& l) {
    std::vector<Param> params;
    for (std::size_t b : which) {
        bands[b] = clamped(bands[b], l);
        params.push_back({b, Kind::Freq});
        params.push_back({b, Kind::Gain});
        if (bands[b].type == EqTypePeaking) params.push_back({b, Kind::Q});
    }
    const std::size_t m = params.size();
    const std::size_t n = static_cast<std::size_t>(p.size());
    if (m == 0 || n == 0) return bandsCost(p, bands);
    Curves curves = curvesOf(p, bands);
    std::vector<double> e = totalOf(p, curves);
    double cost = varianceOf(e);
    double lambda = 1e-3;
    std::vector<double> jac(m * n);
    std::vector<double> a(m * m);
    std::vector<double> g(m);
    std::vector<double> delta(m);
    std::vector<char> frozen(m);
    int quiet = 0;
    for (int iteration = 0; iteration < 60 && quiet < 2; ++iteration) {
        // Jacobian of the mean-removed residual.
        double eMean = 0.0;
        for (double v : e)
            eMean += v;
        eMean /= static_cast<double>(n);
        for (std::size_t j = 0; j < m;) {
            // A band's columns come together: frequency, gain and (a peak) Q.
            const std::size_t band = params[j].band;
            const bool peak = bands[band].type == EqTypePeaking;
            p.derivatives(bands[band], &jac[j * n], &jac[(j + 1) * n],
                                peak ? &jac[(j + 2) * n] : nullptr);
            const std::size_t columns = peak ? 3 : 2;
            for (std::size_t k = j; k < j + columns; ++k) {
                double* col = &jac[k * n];
                double mean = 0.0;
                for (std::size_t i = 0; i < n; ++i)
                    mean += col[i];
                mean /= static_cast<double>(n);
                for (std::size_t i = 0; i < n; ++i)
                    col[i] -= mean;
            }
            j += columns;
        }
        for (std::size_t j = 0; j < m; ++j) {
            double s = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                s += jac[j * n + i] * (e[i] - eMean);
            g[j] = s;
            const Param& pr = params[j];
            const double v = get(bands[pr.band], pr.kind);
            // A value on its limit that the step would push further out stays there.
            frozen[j] = (v <= lower(pr.kind, l) + 1e-12 && s > 0.0) ||
                        (v >= upper(pr.kind, l) - 1e-12 && s < 0.0);
        }
        std::vector<double> normal(m * m);
        for (std::size_t j = 0; j < m; ++j)
            for (std::size_t k = 0; k <= j; ++k) {
                double s = 0.0;
                if (!frozen[j] && !frozen[k])
                    for (std::size_t i = 0; i < n; ++i)
                        s += jac[j * n + i] * jac[k * n + i];
                normal[j * m + k] = normal[k * m + j] = s;
            }
        bool improved = false;
        while (lambda < 1e12) {
            a = normal;
            for (std::size_t j = 0; j < m; ++j) {
                a[j * m + j] = frozen[j] ? 1.0 : a[j * m + j] * (1.0 + lambda) + 1e-9;
                delta[j] = frozen[j] ? 0.0 : -g[j];
            }
            if (!solve(a, delta, m)) {
                lambda *= 10.0;
                continue;
            }
            std::vector<BandValues> trialBands = bands;
            for (std::size_t j = 0; j < m; ++j) {
                const Param& pr = params[j];
                BandValues& b = trialBands[pr.band];
                set(b, pr.kind,
                    std::clamp(get(b, pr.kind) + delta[j], lower(pr.kind, l), upper(pr.kind, l)));
            }
            Curves trialCurves = curves;
            std::vector<double> trialE = p.base();
            for (std::size_t b = 0; b < bands.size(); ++b) {
                if (std::find(which.begin(), which.end(), b) != which.end())
                    p.levels(trialBands[b], trialCurves[b].data());
                for (std::size_t i = 0; i < n; ++i)
                    trialE[i] += trialCurves[b][i];
            }
            const double trialCost = varianceOf(trialE);
            if (trialCost < cost) {
                quiet = cost - trialCost < 1e-6 * cost + 1e-14 ? quiet + 1 : 0;
                cost = trialCost;
                bands.swap(trialBands);
                curves.swap(trialCurves);
                e.swap(trialE);
                lambda = std::max(lambda / 3.0, 1e-9);
                improved = true;
                break;
            }
            lambda *= 4.0;
        }
        if (!improved) break;
    }
    return cost;
}

std::vector<BandValues> continuousFit(const FitProblem& problem, int bandCount,
                                      const FitLimits& limits) {
    std::vector<BandValues> bands(static_cast<std::size_t>(bandCount));
    for (BandValues& b : bands) {
        b.gain = 0.0;
        b.hz = limits.loHz;
    }
    const PlacementGrid grid(problem, limits);
    std::vector<std::size_t> placed;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const std::vector<double> e = totalOf(problem, curvesOf(problem, bands));
        bands[b] = clamped(grid.bestPlacement(problem, e, limits), limits);
        placed.push_back(b);
        refineBands(problem, bands, placed, limits);
    }
    // Each band in turn replaced by the best of: the band placed again wherever it helps most,
    // or the band as each other type at its frequency. Each candidate is refined alone, the
    // best two then with all bands; taken when that lowers the cost.
    double cost = bandsCost(problem, bands);
    const std::vector<std::size_t> all = placed;
    const auto singleMoves = [&] {
        bool any = false;
        for (int round = 0; round < 4; ++round) {
            bool better = false;
            for (std::size_t b = 0; b < bands.size(); ++b) {
                std::vector<std::vector<BandValues>> candidates;
                std::vector<BandValues> without = bands;
                without[b].gain = 0.0;
                const std::vector<double> e = totalOf(problem, curvesOf(problem, without));
                candidates.push_back(without);
                candidates.back()[b] = clamped(grid.bestPlacement(problem, e, limits), limits);
                for (int type : {EqTypePeaking, EqTypeLowShelf, EqTypeHighShelf}) {
                    if (type == bands[b].type) continue;
                    BandValues c = bands[b];
                    c.type = type;
                    c.q = type == EqTypePeaking ? 1.0 : c.q;
                    c.gain = bestGain(problem, e, c, limits);
                    candidates.push_back(without);
                    candidates.back()[b] = clamped(c, limits);
                }
                std::vector<std::pair<double, std::size_t>> quick;
                for (std::size_t k = 0; k < candidates.size(); ++k) {
                    quick.emplace_back(refineBands(problem, candidates[k], {b}, limits), k);
                }
                std::sort(quick.begin(), quick.end());
                for (std::size_t k = 0; k < std::min<std::size_t>(2, quick.size()); ++k) {
                    // Hopeless candidates are not worth refining with all bands.
                    if (quick[k].first > cost * QuickMargin) break;
                    std::vector<BandValues>& trial = candidates[quick[k].second];
                    const double c = refineBands(problem, trial, all, limits);
                    if (c < cost * (1.0 - 1e-9)) {
                        cost = c;
                        bands = trial;
                        better = true;
                    }
                }
            }
            if (!better) break;
            any = true;
        }
        return any;
    };
    // Two bands out and placed again one after the other, then all refined: what no single
    // band's move reaches, as when two bands together imitate a third shape.
    const auto pairMoves = [&] {
        bool better = false;
        for (std::size_t a = 0; a < bands.size(); ++a)
            for (std::size_t b = a + 1; b < bands.size(); ++b) {
                // Two peaks far apart do not stand in for one shape together.
                if (bands[a].type == EqTypePeaking && bands[b].type == EqTypePeaking &&
                    std::abs(std::log2(bands[a].hz / bands[b].hz)) > PairOctaves)
                    continue;
                std::vector<BandValues> trial = bands;
                trial[a].gain = 0.0;
                trial[b].gain = 0.0;
                for (std::size_t k : {a, b}) {
                    const std::vector<double> e = totalOf(problem, curvesOf(problem, trial));
                    trial[k] = clamped(grid.bestPlacement(problem, e, limits), limits);
                    refineBands(problem, trial, {k}, limits);
                }
                const double c = refineBands(problem, trial, all, limits);
                if (c < cost * (1.0 - 1e-9)) {
                    cost = c;
                    bands = trial;
                    better = true;
                }
            }
        return better;
    };
    singleMoves();
    for (int round = 0; round < 2 && pairMoves(); ++round)
        singleMoves();
    return bands;
}

} // namespace m7410
