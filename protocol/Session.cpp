#include "protocol/Session.h"

#include "protocol/LinkWatch.h"
#include "protocol/SessionView.h"

namespace m7410 {

Session::Session(Clock& clock, SessionView& view, LinkPort& link)
    : clock(clock), view(view), link(link), scheduler(*this), dispatcher(*this), exchanges(*this),
      builders(model, frames, *this, linkOpen, deviceNumber) {
    sendTimer = makeTimer(10, [this] { scheduler.sendTimerTimer(); });
    Timer1 = makeTimer(500, [this] { scheduler.Timer1Timer(); });
    Timer4 = makeTimer(300, [this] { scheduler.Timer4Timer(); });
    Timer7 = makeTimer(200, [this] { scheduler.Timer7Timer(); });
    intimer = makeTimer(2000, [this] { watchExpired(&LinkWatch::intimerTimer, *intimer); });
    chcon = makeTimer(800, [this] { watchExpired(&LinkWatch::chconTimer, *chcon); });
    chcon112 = makeTimer(1500, [this] { watchExpired(&LinkWatch::chcon112Timer, *chcon112); });
    chcon188 = makeTimer(2500, [this] { watchExpired(&LinkWatch::chcon188Timer, *chcon188); });
    Timer8 = makeTimer(700, [this] { exchanges.Timer8Timer(); });
    Timer9 = makeTimer(16000, [this] { exchanges.Timer9Timer(); });
    Timer10 = makeTimer(1000, [this] { exchanges.Timer10Timer(); });
    Timer11 = makeTimer(10, [this] { exchanges.Timer11Timer(); });
    Timer13 = makeTimer(1000, [this] { exchanges.Timer13Timer(); });
    Timer22 = makeTimer(10000, [this] { exchanges.Timer22Timer(); });
    Timer13->start();
}

Session::~Session() = default;

std::unique_ptr<Timer> Session::makeTimer(int ms, std::function<void()> handler) {
    return clock.createTimer(ms, std::move(handler));
}

void Session::watchExpired(void (LinkWatch::*handler)(), Timer& timer) {
    if (linkWatch != nullptr)
        (linkWatch->*handler)();
    else
        timer.stop();
}

void Session::endExchanges() {
    Timer8->stop();
    Timer9->stop();
    Timer10->stop();
    Timer22->stop();
    saveOneToFilePending = 0;
    saveAllToFilePending = 0;
    recallPending = 0;
    saveAckPending = 0;
    groupsRequested = 0;
    groupsCollected = 0;
    groupsSent = 0;
    progressStepsActive = 0;
    progressSteps = 0;
    ++exchangeEpoch;
}

void Session::lockWindow() {
    view.setPanelsEnabled(UnlockedPanels, false);
}

void Session::unlockWindow() {
    view.hideProgress();
    view.setPanelsEnabled(UnlockedPanels, true);
}

} // namespace m7410
