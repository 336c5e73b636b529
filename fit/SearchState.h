// The table bands a search holds, their curves and the summed error, with trial and commit of a
// change; band curves come from a cache, since a search tries the same entries again and again.
#pragma once

#include "fit/FitProblem.h"
#include "model/EqBand.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace m7410 {

// The engineering values of a band's table indexes (clamped into the tables).
BandValues valuesOf(const EqBand& band);

// Band curves on the problem's points by type and table indexes, kept up to a bound.
class CurveCache {
public:
    explicit CurveCache(const FitProblem& problem) : p(&problem) {}

    // The curve stays valid until the next call.
    const std::vector<double>& curve(const EqBand& band) {
        const std::uint32_t key = (static_cast<std::uint32_t>(band.type & 3) << 24) |
                                  (static_cast<std::uint32_t>(band.freq & 0xFF) << 16) |
                                  (static_cast<std::uint32_t>(band.gainInForce() & 0xFF) << 8) |
                                  static_cast<std::uint32_t>(band.q & 0xFF);
        const auto found = curves.find(key);
        if (found != curves.end()) return found->second;
        if (curves.size() * static_cast<std::size_t>(p->size()) > LargestCacheValues)
            curves.clear();
        std::vector<double>& c = curves[key];
        c.resize(static_cast<std::size_t>(p->size()));
        p->levels(valuesOf(band), c.data());
        return c;
    }

    const FitProblem& problem() const { return *p; }

private:
    // 32 MiB of curves.
    static constexpr std::size_t LargestCacheValues = std::size_t{4} << 20;
    const FitProblem* p;
    std::unordered_map<std::uint32_t, std::vector<double>> curves;
};

class SearchState {
public:
    SearchState(CurveCache& cache, std::vector<EqBand> start)
        : c(&cache), held(std::move(start)), total(cache.problem().base()) {
        for (const EqBand& b : held) {
            curves.push_back(c->curve(b));
            for (std::size_t i = 0; i < total.size(); ++i)
                total[i] += curves.back()[i];
        }
        current = c->problem().cost(total.data(), nullptr, nullptr);
    }

    const std::vector<EqBand>& bands() const { return held; }
    double cost() const { return current; }

    // Replaces band b with candidate when that lowers the cost; true when it did.
    bool tryBand(std::size_t b, const EqBand& candidate) {
        if (candidate == held[b]) return false;
        const std::vector<double>& trial = c->curve(candidate);
        const double cost = c->problem().cost(total.data(), curves[b].data(), trial.data());
        if (cost >= current - 1e-12) return false;
        commit(b, candidate, trial, cost);
        return true;
    }

    // Replaces band b with candidate whatever it costs.
    void setBand(std::size_t b, const EqBand& candidate) {
        const std::vector<double>& trial = c->curve(candidate);
        commit(b, candidate, trial,
               c->problem().cost(total.data(), curves[b].data(), trial.data()));
    }

private:
    void commit(std::size_t b, const EqBand& candidate, const std::vector<double>& trial,
                double cost) {
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += trial[i] - curves[b][i];
        curves[b] = trial;
        held[b] = candidate;
        current = cost;
    }

    CurveCache* c;
    std::vector<EqBand> held;
    std::vector<double> total;
    std::vector<std::vector<double>> curves;
    double current = 0.0;
};

} // namespace m7410
