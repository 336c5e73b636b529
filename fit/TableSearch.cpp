// Rounding one band at a time, and coordinate descent over table indexes and band types.
#include "fit/TableSearch.h"

#include "fit/SearchState.h"
#include "model/ValueTables.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace m7410 {

namespace {

using State = SearchState;

EqBand clamped(EqBand b, const TableLimits& l) {
    b.freq = std::clamp(b.freq, l.loFreq, l.hiFreq);
    b.setGainInForce(std::clamp(b.gainInForce(), l.loGain, l.hiGain));
    b.q = std::clamp(b.q, 0, QCount - 1);
    return b;
}

struct Step {
    int freq;
    int gain;
    int q;
};

EqBand moved(EqBand b, const Step& s, int size) {
    b.freq += s.freq * size;
    b.setGainInForce(b.gainInForce() + s.gain * size);
    b.q += s.q * size;
    return b;
}

constexpr Step AxisSteps[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};

bool typeMoves(State& s, std::size_t b, const TableLimits& l) {
    bool improved = false;
    const EqBand now = s.bands()[b];
    for (int type : {EqTypePeaking, EqTypeLowShelf, EqTypeHighShelf}) {
        if (type == now.type) continue;
        for (int g = l.loGain; g <= l.hiGain; g += 5) {
            EqBand c = now;
            c.type = type;
            c.setGainInForce(g);
            improved |= s.tryBand(b, clamped(c, l));
        }
    }
    return improved;
}

// Every combination of frequency, gain and Q by -1, 0 or +1 index (a shelf's Q stays).
bool neighbourMoves(State& s, std::size_t b, const TableLimits& l) {
    bool improved = false;
    const bool peak = s.bands()[b].type == EqTypePeaking;
    for (int df = -1; df <= 1; ++df)
        for (int dg = -1; dg <= 1; ++dg)
            for (int dq = -1; dq <= 1; ++dq) {
                if ((df == 0 && dg == 0 && dq == 0) || (!peak && dq != 0)) continue;
                improved |= s.tryBand(b, clamped(moved(s.bands()[b], {df, dg, dq}, 1), l));
            }
    return improved;
}

bool sweep(State& s, int size, const TableLimits& l) {
    bool improved = false;
    for (std::size_t b = 0; b < s.bands().size(); ++b) {
        if (size == 1) {
            improved |= typeMoves(s, b, l);
            improved |= neighbourMoves(s, b, l);
        }
        for (const Step& step : AxisSteps) {
            if (s.bands()[b].type != EqTypePeaking && step.q != 0) continue;
            while (s.tryBand(b, clamped(moved(s.bands()[b], step, size), l)))
                improved = true;
        }
    }
    return improved;
}

// The indexes of the table entries just below and just above value (the same one twice at the
// ends or on an entry).
template <typename Table> std::pair<int, int> bracket(const Table& t, double value) {
    const auto it = std::lower_bound(t.begin(), t.end(), value);
    if (it == t.begin()) return {0, 0};
    if (it == t.end()) return {static_cast<int>(t.size()) - 1, static_cast<int>(t.size()) - 1};
    const int hi = static_cast<int>(it - t.begin());
    return {*it == value ? hi : hi - 1, hi};
}

// Single-index moves of every band but one until none helps.
void descendOthers(State& s, std::size_t except, const TableLimits& l) {
    for (int sweeps = 0; sweeps < 8; ++sweeps) {
        bool improved = false;
        for (std::size_t b = 0; b < s.bands().size(); ++b) {
            if (b == except) continue;
            for (const Step& step : AxisSteps) {
                if (s.bands()[b].type != EqTypePeaking && step.q != 0) continue;
                while (s.tryBand(b, clamped(moved(s.bands()[b], step, 1), l)))
                    improved = true;
            }
        }
        if (!improved) break;
    }
}

// A band moved to a neighbouring entry even when that alone costs more, the other bands then
// following it: taken when the whole costs less. Two bands that overlap can only improve so.
bool compensatedMoves(State& s, const TableLimits& l) {
    bool improved = false;
    for (std::size_t b = 0; b < s.bands().size(); ++b) {
        const bool peak = s.bands()[b].type == EqTypePeaking;
        for (int df = -1; df <= 1; ++df)
            for (int dg = -1; dg <= 1; ++dg)
                for (int dq = -1; dq <= 1; ++dq) {
                    if ((df == 0 && dg == 0 && dq == 0) || (!peak && dq != 0)) continue;
                    const EqBand c = clamped(moved(s.bands()[b], {df, dg, dq}, 1), l);
                    if (c == s.bands()[b]) continue;
                    State trial = s;
                    trial.setBand(b, c);
                    descendOthers(trial, b, l);
                    if (trial.cost() < s.cost() - 1e-12) {
                        s = trial;
                        improved = true;
                    }
                }
    }
    return improved;
}

void descend(State& s, const TableLimits& l) {
    for (int round = 0; round < 20; ++round) {
        bool improved = false;
        for (int size : {16, 8, 4, 2, 1})
            while (sweep(s, size, l))
                improved = true;
        if (!improved) break;
    }
}

} // namespace

BandValues valuesOf(const EqBand& band) {
    return {band.type, FreqTable[std::clamp(band.freq, 0, FreqCount - 1)],
            EqGainTable[std::clamp(band.gainInForce(), 0, EqGainCount - 1)],
            QTable[std::clamp(band.q, 0, QCount - 1)]};
}

std::vector<EqBand> roundOneByOne(const FitProblem& problem, std::vector<BandValues> continuous,
                                  std::vector<EqBand> start, const TableLimits& limits,
                                  const FitLimits& continuousLimits) {
    std::vector<std::size_t> open;
    for (std::size_t b = 0; b < continuous.size(); ++b)
        open.push_back(b);
    while (!open.empty()) {
        double bestCost = std::numeric_limits<double>::infinity();
        std::size_t bestBand = open.front();
        EqBand best = start[bestBand];
        for (std::size_t b : open) {
            const BandValues& v = continuous[b];
            const auto [f0, f1] = bracket(FreqTable, v.hz);
            const auto [g0, g1] = bracket(EqGainTable, v.gain);
            const auto [q0, q1] = bracket(QTable, v.q);
            const bool peak = v.type == EqTypePeaking;
            for (int f : {f0, f1})
                for (int g : {g0, g1})
                    for (int q : {q0, q1}) {
                        if (!peak && q != q0) continue;
                        EqBand c = start[b];
                        c.type = v.type;
                        c.freq = f;
                        c.setGainInForce(g);
                        if (peak) c.q = q;
                        c = clamped(c, limits);
                        std::vector<BandValues> trial = continuous;
                        trial[b] = valuesOf(c);
                        const double cost = bandsCost(problem, trial);
                        if (cost < bestCost) {
                            bestCost = cost;
                            bestBand = b;
                            best = c;
                        }
                    }
        }
        start[bestBand] = best;
        continuous[bestBand] = valuesOf(best);
        open.erase(std::find(open.begin(), open.end(), bestBand));
        if (!open.empty()) refineBands(problem, continuous, open, continuousLimits);
    }
    return start;
}

std::vector<EqBand> tableSearch(const FitProblem& problem,
                                const std::vector<std::vector<EqBand>>& starts,
                                const TableLimits& limits) {
    CurveCache cache(problem);
    std::vector<State> descended;
    for (std::vector<EqBand> start : starts) {
        for (EqBand& b : start)
            b = clamped(b, limits);
        descended.emplace_back(cache, std::move(start));
        descend(descended.back(), limits);
    }
    if (descended.empty()) return {};
    State s = *std::min_element(descended.begin(), descended.end(), [](const State& a, const State& b) {
        return a.cost() < b.cost();
    });
    for (int round = 0; round < 4 && compensatedMoves(s, limits); ++round)
        descend(s, limits);
    return s.bands();
}

double tableCost(const FitProblem& problem, const std::vector<EqBand>& bands) {
    CurveCache cache(problem);
    return State(cache, bands).cost();
}

} // namespace m7410
