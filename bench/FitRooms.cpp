// The fit on synthetic rooms: for each room and range, RMS before, after fit-then-round, after
// the table search (and the unrounded continuous optimum), with the time taken. Also writes a
// room as a measurement file: m7410-fit-rooms --write FILE SEED.
#include "fit/EqFit.h"
#include "fit/SyntheticRoom.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace m7410;

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--write") {
        const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
        const Response r = measureRoom(randomRoom(seed), logFrequencies(20.0, 20000.0, 48.0));
        std::ofstream(argv[2], std::ios::binary)
            << roomText(r, "Synthetic room, seed " + std::string(argv[3]));
        return 0;
    }
    const int first = argc > 1 ? std::atoi(argv[1]) : 1;
    const int count = argc > 2 ? std::atoi(argv[2]) : 10;
    const double ranges[][2] = {{20, 20000}, {20, 400}, {100, 10000}};
    std::printf("| room | range (Hz) | before | fit then round | table search | continuous | ms |\n");
    std::printf("|---:|---|---:|---:|---:|---:|---:|\n");
    for (int seed = first; seed < first + count; ++seed) {
        const Response m = measureRoom(randomRoom(static_cast<std::uint32_t>(seed)),
                                       logFrequencies(20.0, 20000.0, 48.0));
        for (const auto& range : ranges) {
            FitOptions o;
            o.fromHz = range[0];
            o.toHz = range[1];
            ChannelBands current{};
            const auto t0 = std::chrono::steady_clock::now();
            const EqFit fit = fitChannel(m, Response{}, current, o);
            const double ms = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - t0)
                                  .count();
            std::printf("| %d | %g-%g | %.2f | %.3f | %.3f | %.3f | %.0f |\n", seed, range[0],
                        range[1], fit.before.rms, fit.fitThenRound.rms, fit.after.rms,
                        fit.continuousRms, ms);
        }
    }
    return 0;
}
