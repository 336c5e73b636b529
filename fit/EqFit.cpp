// The fit's entry point: the problem from the responses, both fits and their figures.
#include "fit/EqFit.h"

#include "eqtext/ResponseComparison.h"
#include "fit/ContinuousFit.h"
#include "fit/TableSearch.h"
#include "model/NearestIndex.h"
#include "model/ValueTables.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace m7410 {

namespace {

constexpr double GainStepsPerDb = 5.0; // the gain table's 0.2 dB steps
// The response model works at 96 kHz: a band's frequency must lie below half of it.
constexpr double LowestRangeHz = 1.0;
constexpr double HighestRangeHz = 48000.0;

ChannelBands flatBands() {
    ChannelBands b{};
    for (int row = 0; row < EqRowsPerChannel; ++row)
        b[static_cast<std::size_t>(row)].freq = EqStartFreq[row];
    return b;
}

// The first and last table frequency inside [from, to] (the nearest one if none is inside).
std::pair<int, int> freqRange(double fromHz, double toHz) {
    int lo = nearestIndex(FreqTable, fromHz);
    int hi = nearestIndex(FreqTable, toHz);
    if (FreqTable[static_cast<std::size_t>(lo)] < fromHz && lo < hi) ++lo;
    if (FreqTable[static_cast<std::size_t>(hi)] > toHz && hi > lo) --hi;
    return {lo, hi};
}

EqBand rounded(const BandValues& v, EqBand band, const TableLimits& l) {
    band.type = v.type;
    band.freq = std::clamp(nearestIndex(FreqTable, v.hz), l.loFreq, l.hiFreq);
    band.setGainInForce(std::clamp(nearestIndex(EqGainTable, v.gain), l.loGain, l.hiGain));
    if (v.type == EqTypePeaking) band.q = nearestIndex(QTable, v.q);
    return band;
}

std::string hzText(double hz) {
    std::ostringstream s;
    s << hz;
    return s.str();
}

} // namespace

std::string fitOptionsError(const FitOptions& o) {
    if (!(o.fromHz >= LowestRangeHz) || !(o.toHz <= HighestRangeHz))
        return "the fit range must lie within 1 Hz .. 48000 Hz";
    if (!(o.fromHz < o.toHz)) return "the fit range's start must lie below its end";
    if (!(o.maxBoostDb >= 0.0 && o.maxBoostDb <= LargestMaxBoostDb))
        return "the maximum boost must lie within 0 .. 12 dB";
    return {};
}

FitFigures fitFigures(const Response& measured, const Response& target, const ChannelBands& bands,
                      double fromHz, double toHz) {
    std::vector<std::pair<double, double>> r;
    double mean = 0.0;
    for (const ResponsePoint& p : measured.points) {
        if (p.hz < fromHz || p.hz > toHz) continue;
        r.emplace_back(p.hz, p.db + unitLevel(bands, p.hz) - levelAt(target.points, p.hz));
        mean += r.back().second;
    }
    FitFigures f;
    if (r.empty()) return f;
    mean /= static_cast<double>(r.size());
    double squares = 0.0;
    for (const auto& [hz, v] : r) {
        const double d = v - mean;
        squares += d * d;
        if (std::abs(d) > f.maxError) {
            f.maxError = std::abs(d);
            f.maxErrorHz = hz;
        }
    }
    f.rms = std::sqrt(squares / static_cast<double>(r.size()));
    f.points = static_cast<int>(r.size());
    return f;
}

EqFit fitChannel(const Response& measured, const Response& target, const ChannelBands& current,
                 const FitOptions& o) {
    EqFit fit;
    if (std::string why = fitOptionsError(o); !why.empty()) {
        fit.error = why;
        return fit;
    }
    std::vector<double> hz;
    std::vector<double> base;
    for (const ResponsePoint& p : measured.points) {
        if (p.hz < o.fromHz || p.hz > o.toHz) continue;
        hz.push_back(p.hz);
        base.push_back(p.db - levelAt(target.points, p.hz));
    }
    if (static_cast<int>(hz.size()) < FewestFitPoints) {
        fit.error = "only " + std::to_string(hz.size()) + " points of the measurement lie in " +
                    hzText(o.fromHz) + " .. " + hzText(o.toHz) + " Hz; the fit needs at least " +
                    std::to_string(FewestFitPoints);
        return fit;
    }
    ChannelBands start = current;
    std::vector<std::size_t> free;
    for (std::size_t row = 0; row < start.size(); ++row) {
        if (o.keep[row]) {
            const std::array<EqBand, 1> kept = {current[row]};
            for (std::size_t i = 0; i < hz.size(); ++i)
                base[i] += unitLevel(kept, hz[i]);
            fit.continuousBands[row] = valuesOf(current[row]);
        } else {
            start[row].setGainInForce(EqGainZeroIndex);
            free.push_back(row);
        }
    }
    const double maxGain = o.cutOnly ? 0.0 : o.maxBoostDb;
    const auto [loFreq, hiFreq] = freqRange(o.fromHz, o.toHz);
    const TableLimits tl{loFreq, hiFreq, 0,
                         EqGainZeroIndex +
                             static_cast<int>(std::floor(maxGain * GainStepsPerDb + 1e-9))};
    // The plain fit knows only what a user would type into another program: the range, the
    // limits and the unit's published spans, none of the steps between.
    FitLimits cl;
    cl.loHz = std::max(o.fromHz, FreqTable.front());
    cl.hiHz = std::min(o.toHz, FreqTable.back());
    cl.minGain = EqGainTable.front();
    cl.maxGain = maxGain;
    cl.minQ = QTable.front();
    cl.maxQ = QTable.back();
    const FitProblem problem(hz, base);

    fit.bands = start;
    fit.fitThenRoundBands = start;
    if (!free.empty()) {
        const std::vector<BandValues> continuous =
            continuousFit(problem, static_cast<int>(free.size()), cl);
        fit.continuousRms = std::sqrt(bandsCost(problem, continuous));
        std::vector<EqBand> roundedBands;
        for (std::size_t k = 0; k < free.size(); ++k) {
            roundedBands.push_back(rounded(continuous[k], start[free[k]], tl));
            fit.continuousBands[free[k]] = continuous[k];
        }
        // Two starts: the rounded fit, so the search can only come out at or below it, and the
        // bands rounded one by one with the others refined around them.
        std::vector<EqBand> others;
        for (std::size_t row : free)
            others.push_back(start[row]);
        const std::vector<EqBand> searched = tableSearch(
            problem, {roundedBands, roundOneByOne(problem, continuous, others, tl, cl)}, tl);
        for (std::size_t k = 0; k < free.size(); ++k) {
            fit.fitThenRoundBands[free[k]] = roundedBands[k];
            fit.bands[free[k]] = searched[k];
        }
    } else {
        fit.continuousRms = std::sqrt(problem.cost(base.data(), nullptr, nullptr));
    }
    fit.before = fitFigures(measured, target, flatBands(), o.fromHz, o.toHz);
    fit.after = fitFigures(measured, target, fit.bands, o.fromHz, o.toHz);
    fit.fitThenRound = fitFigures(measured, target, fit.fitThenRoundBands, o.fromHz, o.toHz);
    return fit;
}

} // namespace m7410
