// Progress of a long transfer: a bar on a terminal counting what has really arrived or gone out.
#pragma once

#include <ostream>
#include <string>

namespace m7410 {

// Only a person at a terminal is helped by a bar; in a pipe or a log it is noise, so a meter
// that is not enabled (no terminal, or --quiet) writes nothing at all. The bar shows the count
// the caller reports, never a time estimate, and is wiped when the transfer ends, so the
// result line that follows stands alone and a transfer that stalled never shows 100 %.
class ProgressMeter {
public:
    static constexpr int BarWidth = 30;

    ProgressMeter(std::ostream& err, bool enabled) : err(err), enabled(enabled) {}
    ~ProgressMeter() { end(); }
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    // "reading presets", 20: starts a bar at 0 of total.
    void begin(const std::string& what, int total);
    // What has arrived or gone out so far; a smaller count than before is not drawn, since a
    // transfer does not give back what it had.
    void update(int done);
    void end();
    bool active() const { return running; }

private:
    void draw();

    std::ostream& err;
    bool enabled;
    bool running = false;
    std::string label;
    int total = 0;
    int done = -1;
};

} // namespace m7410
