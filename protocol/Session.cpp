#include "protocol/Session.h"

#include "protocol/LinkWatch.h"
#include "protocol/SessionView.h"

namespace m7410 {

Session::Session(Clock& clock, SessionView& view, LinkPort& link)
    : clock(clock), view(view), link(link), scheduler(*this), dispatcher(*this), exchanges(*this),
      builders(model, frames, *this, linkOpen, deviceNumber) {
    sendTimer = clock.createTimer(10, [this] { scheduler.sendTimerTimer(); });
    Timer1 = clock.createTimer(500, [this] { scheduler.Timer1Timer(); });
    Timer4 = clock.createTimer(300, [this] { scheduler.Timer4Timer(); });
    Timer7 = clock.createTimer(200, [this] { scheduler.Timer7Timer(); });
    intimer = clock.createTimer(2000, [this] { watchExpired(&LinkWatch::intimerTimer, *intimer); });
    chcon = clock.createTimer(800, [this] { watchExpired(&LinkWatch::chconTimer, *chcon); });
    chcon112 =
        clock.createTimer(1500, [this] { watchExpired(&LinkWatch::chcon112Timer, *chcon112); });
    chcon188 =
        clock.createTimer(2500, [this] { watchExpired(&LinkWatch::chcon188Timer, *chcon188); });
    Timer8 = clock.createTimer(700, [this] { exchanges.Timer8Timer(); });
    Timer9 = clock.createTimer(16000, [this] { exchanges.Timer9Timer(); });
    Timer10 = clock.createTimer(1000, [this] { exchanges.Timer10Timer(); });
    Timer11 = clock.createTimer(10, [this] { exchanges.Timer11Timer(); });
    Timer13 = clock.createTimer(1000, [this] { exchanges.Timer13Timer(); });
    Timer22 = clock.createTimer(10000, [this] { exchanges.Timer22Timer(); });
    saveOneTimer = clock.createTimer(
        TimedExchanges::SaveOneReplyTimeoutMs, [this] { exchanges.saveOneTimerTimer(); }, true);
    Timer13->start();
}

Session::~Session() = default;

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
    saveOneTimer->stop();
    saveOneToFilePending = 0;
    namesReplyDue = 0;
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
