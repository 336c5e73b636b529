#include "ctl/ConsoleView.h"

#include <algorithm>

namespace m7410 {

namespace {
constexpr int BarWidth = 40;
}

void ConsoleView::showProgress(int percent) {
    shown = true;
    lastPercent = -1;
    draw(percent);
}

void ConsoleView::setProgress(int percent) {
    if (shown) draw(percent);
}

void ConsoleView::hideProgress() {
    finishProgress();
}

void ConsoleView::finishProgress() {
    if (!shown) return;
    shown = false;
    if (terminal) err << '\n';
    err.flush();
}

void ConsoleView::draw(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == lastPercent) return;
    lastPercent = percent;
    if (terminal) {
        const int filled = percent * BarWidth / 100;
        err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(BarWidth - filled), ' ') << "] " << percent
            << "%";
    } else {
        err << percent << "%\n";
    }
    err.flush();
}

} // namespace m7410
