// The fit on synthetic rooms, as the README's table shows it: for each room and range, the RMS
// error before, after fit-then-round, of the unrounded continuous fit and after the table
// search; the medians, how far the search lies below fit-then-round and the slowest fit. Also writes a
// room as a measurement file: m7410-fit-rooms --write FILE SEED.
#include "fit/EqFit.h"
#include "fit/SyntheticRoom.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace m7410;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

int usage() {
    std::fprintf(stderr, "usage: m7410-fit-rooms [FIRST COUNT]\n"
                         "       m7410-fit-rooms --write FILE SEED [txt|frd|csv]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--write") {
        if (argc != 4 && argc != 5) return usage();
        const std::string format = argc == 5 ? argv[4] : "txt";
        if (format != "txt" && format != "frd" && format != "csv") return usage();
        const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
        const Response r = measureRoom(randomRoom(seed), logFrequencies(20.0, 20000.0, 48.0));
        std::ofstream out(argv[2], std::ios::binary);
        out << roomText(r, "Synthetic room, seed " + std::string(argv[3]),
                        format == "frd"   ? RoomFormat::Frd
                        : format == "csv" ? RoomFormat::Csv
                                          : RoomFormat::Text);
        return out ? 0 : 1;
    }
    if (argc != 1 && argc != 3) return usage();
    const int first = argc > 1 ? std::atoi(argv[1]) : 1;
    const int count = argc > 2 ? std::atoi(argv[2]) : 10;
    const double ranges[][2] = {{20, 20000}, {20, 400}, {100, 10000}};
    std::vector<double> before[3], round[3], after[3], continuous[3];
    double slowest = 0.0;
    double slowestCpu = 0.0;
    std::printf("| room | 20-20000 Hz | 20-400 Hz | 100-10000 Hz |\n|---:|---|---|---|\n");
    for (int seed = first; seed < first + count; ++seed) {
        const Response m = measureRoom(randomRoom(static_cast<std::uint32_t>(seed)),
                                       logFrequencies(20.0, 20000.0, 48.0));
        std::printf("| %d |", seed);
        for (int r = 0; r < 3; ++r) {
            FitOptions o;
            o.fromHz = ranges[r][0];
            o.toHz = ranges[r][1];
            ChannelBands current{};
            for (int row = 0; row < EqRowsPerChannel; ++row)
                current[static_cast<std::size_t>(row)].freq = EqStartFreq[row];
            const auto t0 = std::chrono::steady_clock::now();
            const std::clock_t c0 = std::clock();
            const EqFit fit = fitChannel(m, Response{}, current, o);
            const double ms = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - t0)
                                  .count();
            slowest = std::max(slowest, ms);
            slowestCpu = std::max(slowestCpu, 1000.0 * static_cast<double>(std::clock() - c0) /
                                                  CLOCKS_PER_SEC);
            std::printf(" %.2f / %.3f / %.3f / **%.3f** |", fit.before.rms, fit.fitThenRound.rms,
                        fit.continuousRms, fit.after.rms);
            before[r].push_back(fit.before.rms);
            round[r].push_back(fit.fitThenRound.rms);
            after[r].push_back(fit.after.rms);
            continuous[r].push_back(fit.continuousRms);
        }
        std::printf("\n");
    }
    std::printf("| median |");
    for (int r = 0; r < 3; ++r)
        std::printf(" %.2f / %.3f / %.3f / **%.3f** |", median(before[r]), median(round[r]),
                    median(continuous[r]), median(after[r]));
    std::vector<double> allRound, allAfter;
    std::printf("\n\nmedian table search below fit-then-round:");
    for (int r = 0; r < 3; ++r) {
        allRound.insert(allRound.end(), round[r].begin(), round[r].end());
        allAfter.insert(allAfter.end(), after[r].begin(), after[r].end());
        std::printf(" %g-%g Hz %.0f %%,", ranges[r][0], ranges[r][1],
                    100.0 * (1.0 - median(after[r]) / median(round[r])));
    }
    std::printf(" all %.0f %%\n", 100.0 * (1.0 - median(allAfter) / median(allRound)));
    std::printf("slowest fit: %.0f ms (%.0f ms of processor time)\n", slowest, slowestCpu);
    return 0;
}
