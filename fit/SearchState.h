// The bands a search holds, their curves and the summed error, with trial and commit of a change.
#pragma once

#include "fit/FitProblem.h"

#include <vector>

namespace m7410 {

template <typename Band> class SearchState {
public:
    // toValues maps a band of the search to the values its curve is computed from.
    using ToValues = BandValues (*)(const Band&);

    SearchState(const FitProblem& problem, std::vector<Band> start, ToValues toValues)
        : p(&problem), values(toValues), held(std::move(start)), total(problem.base()),
          curves(held.size(), std::vector<double>(static_cast<std::size_t>(problem.size()))),
          trial(static_cast<std::size_t>(problem.size())) {
        for (std::size_t b = 0; b < held.size(); ++b) {
            p->levels(values(held[b]), curves[b].data());
            for (std::size_t i = 0; i < total.size(); ++i)
                total[i] += curves[b][i];
        }
        current = p->cost(total.data(), nullptr, nullptr);
    }

    const std::vector<Band>& bands() const { return held; }
    double cost() const { return current; }

    // Replaces band b with candidate when that lowers the cost; true when it did.
    bool tryBand(std::size_t b, const Band& candidate) {
        p->levels(values(candidate), trial.data());
        const double c = p->cost(total.data(), curves[b].data(), trial.data());
        if (c >= current - 1e-12) return false;
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += trial[i] - curves[b][i];
        curves[b].swap(trial);
        held[b] = candidate;
        current = c;
        return true;
    }

    // Replaces band b with candidate whatever it costs.
    void setBand(std::size_t b, const Band& candidate) {
        p->levels(values(candidate), trial.data());
        current = p->cost(total.data(), curves[b].data(), trial.data());
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += trial[i] - curves[b][i];
        curves[b].swap(trial);
        held[b] = candidate;
    }

    // The summed error with the mean removed, for placing a new band on its largest deviation.
    std::vector<double> residual() const {
        double mean = 0.0;
        for (double v : total)
            mean += v;
        mean /= static_cast<double>(total.size());
        std::vector<double> r(total);
        for (double& v : r)
            v -= mean;
        return r;
    }

private:
    const FitProblem* p;
    ToValues values;
    std::vector<Band> held;
    std::vector<double> total;
    std::vector<std::vector<double>> curves;
    std::vector<double> trial;
    double current = 0.0;
};

} // namespace m7410
