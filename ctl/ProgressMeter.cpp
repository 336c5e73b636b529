#include "ctl/ProgressMeter.h"

#include <algorithm>

namespace m7410 {

void ProgressMeter::begin(const std::string& what, int count) {
    end();
    if (!enabled || count <= 0) return;
    running = true;
    label = what;
    total = count;
    done = -1;
    update(0);
}

void ProgressMeter::update(int count) {
    if (!running) return;
    count = std::clamp(count, 0, total);
    if (count <= done) return;
    done = count;
    draw();
}

void ProgressMeter::end() {
    if (!running) return;
    running = false;
    // Back to the start of the line and erase it.
    err << "\r\x1b[K";
    err.flush();
}

void ProgressMeter::draw() {
    const int filled = done * BarWidth / total;
    err << "\r" << label << " [" << std::string(static_cast<std::size_t>(filled), '#')
        << std::string(static_cast<std::size_t>(BarWidth - filled), ' ') << "] " << done << '/'
        << total;
    err.flush();
}

} // namespace m7410
