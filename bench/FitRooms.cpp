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

namespace {

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
