// libFuzzer target: the measurement reader on any text, and the level it interpolates from
// what it read.
#include "Finding.h"

#include "eqtext/Measurement.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace m7410;

namespace {

void checkRead(const Response& r) {
    if (!r.ok()) {
        if (!r.points.empty()) fuzz::fail("a refused text kept points");
        if (r.error.find('\n') != std::string::npos) fuzz::fail("a reason of more than one line");
        return;
    }
    if (r.points.empty()) fuzz::fail("a text read without error but without points");
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const ResponsePoint& p = r.points[i];
        if (!std::isfinite(p.hz) || !std::isfinite(p.db) || !(p.hz > 0.0))
            fuzz::fail("a point that the reader should have refused");
        if (i > 0 && !(r.points[i - 1].hz < p.hz)) fuzz::fail("points not sorted, or one twice");
    }
}

// Between and beyond the points the level stays within the points' own levels.
void checkLevels(const Response& r) {
    if (r.points.empty()) return;
    double lo = r.points.front().db;
    double hi = lo;
    for (const ResponsePoint& p : r.points) {
        lo = std::fmin(lo, p.db);
        hi = std::fmax(hi, p.db);
    }
    const double slack = 1e-9 * (1.0 + std::fabs(lo) + std::fabs(hi));
    const auto within = [&](double hz) {
        const double v = levelAt(r.points, hz);
        if (!std::isfinite(v) || v < lo - slack || v > hi + slack)
            fuzz::fail("an interpolated level outside the points' levels");
    };
    within(r.points.front().hz * 0.5);
    within(r.points.back().hz * 2.0);
    for (std::size_t i = 0; i + 1 < r.points.size() && i < 64; ++i) {
        within(r.points[i].hz);
        within(std::sqrt(r.points[i].hz) * std::sqrt(r.points[i + 1].hz));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Response r = parseResponseText(text);
    checkRead(r);
    checkLevels(r);
    return 0;
}
