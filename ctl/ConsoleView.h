// The engine's view on a console: a progress bar on standard error, everything else the unit's.
#pragma once

#include "ctl/ProgressMeter.h"
#include "protocol/SessionView.h"

#include <functional>
#include <ostream>
#include <string>

namespace m7410 {

// The front end's view of the unit on a console. The engine's own percentages count requests
// sent and time passed, which is not what a person waiting wants to know, so they are not
// shown: a command that moves presets says what to count (track), and the waits draw it.
// Only on a terminal, and not with --quiet: in a pipe or a log a bar is noise.
class ConsoleView : public SessionView {
public:
    ConsoleView(std::ostream& err, bool terminal) : meter(err, terminal) {}

    void setQuiet(bool quiet);
    // A bar of count() out of total, drawn by tick() until finishProgress.
    void track(const std::string& what, int total, std::function<int()> count);
    void tick();
    // Wipes the bar, before a result or an error is printed.
    void finishProgress();

private:
    ProgressMeter meter;
    bool quiet = false;
    std::function<int()> count;
};

} // namespace m7410
