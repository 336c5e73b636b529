// Room correction (issue 26): the time to fit one channel's six bands to a measurement of about
// 550 points between 20 Hz and 20 kHz (1/55 octave, a little finer than 1/48), on each of ten
// synthetic rooms; the whole fit, as the window and m7410-ctl eq-fit run it: the continuous fit,
// rounding, both table search starts and the figures. Target: at most 1 s in the Release build.
#include "fit/EqFit.h"
#include "fit/SyntheticRoom.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace m7410;

constexpr int Points = 550;

Response room(std::uint32_t seed) {
    // 550 points from 20 Hz to 20 kHz, both ends included.
    const double perOctave = (Points - 1) / std::log2(1000.0);
    return measureRoom(randomRoom(seed), logFrequencies(20.0, 20000.0 * (1 + 1e-9), perOctave));
}

ChannelBands flat() {
    ChannelBands b{};
    for (int row = 0; row < EqRowsPerChannel; ++row)
        b[static_cast<std::size_t>(row)].freq = EqStartFreq[row];
    return b;
}

void fitOneChannel(benchmark::State& state) {
    const Response m = room(static_cast<std::uint32_t>(state.range(0)));
    const FitOptions options; // 20 Hz .. 20 kHz, +6 dB at most
    EqFit fit;
    for (auto _ : state) {
        fit = fitChannel(m, Response{}, flat(), options);
        benchmark::DoNotOptimize(fit.bands.data());
    }
    state.counters["points"] = static_cast<double>(fit.after.points);
    state.counters["rms_before"] = fit.before.rms;
    state.counters["rms_round"] = fit.fitThenRound.rms;
    state.counters["rms_after"] = fit.after.rms;
    state.SetLabel("target 1000 ms");
}

BENCHMARK(fitOneChannel)->DenseRange(1, 10)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
