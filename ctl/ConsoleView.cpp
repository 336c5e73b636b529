#include "ctl/ConsoleView.h"

namespace m7410 {

void ConsoleView::setQuiet(bool on) {
    quiet = on;
    if (quiet) finishProgress();
}

void ConsoleView::track(const std::string& what, int total, std::function<int()> counter) {
    finishProgress();
    if (quiet) return;
    count = std::move(counter);
    meter.begin(what, total);
}

void ConsoleView::tick() {
    if (count && meter.active()) meter.update(count());
}

void ConsoleView::finishProgress() {
    meter.end();
    count = nullptr;
}

} // namespace m7410
