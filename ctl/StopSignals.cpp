#include "ctl/StopSignals.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace m7410 {

namespace {
std::atomic<int> stops{0};

void onStop(int signal) {
    // The first one is a request; someone pressing Ctrl-C again means it.
    if (stops.fetch_add(1) > 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}
} // namespace

void watchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed pipe (`| head`) is reported by the write, not by a signal that kills mid-exchange.
    signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() {
    return stops.load() > 0;
}

} // namespace m7410
