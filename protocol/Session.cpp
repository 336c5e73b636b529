#include "protocol/Session.h"

#include "protocol/LinkWatch.h"
#include "protocol/SessionView.h"

namespace m7410 {

Session::Session(Clock& clock, SessionView& view, LinkPort& link)
    : clock_(clock), view_(view), link_(link), scheduler_(*this), dispatcher_(*this),
      exchanges_(*this), builders_(model_, frames_, *this, linkOpen_, deviceNumber_) {
    tick_ = clock.createTimer(10, [this] { scheduler_.onTick(); });
    statusPoll_ = clock.createTimer(500, [this] { scheduler_.onStatusPoll(); });
    afterSendPause_ = clock.createTimer(300, [this] { scheduler_.onAfterSendPause(); });
    sendStep_ = clock.createTimer(200, [this] { scheduler_.onSendStep(); });
    pollTimeout_ =
        clock.createTimer(2000, [this] { watchExpired(&LinkWatch::onPollTimeout, *pollTimeout_); });
    startUpTimeout_ = clock.createTimer(
        800, [this] { watchExpired(&LinkWatch::onStartUpTimeout, *startUpTimeout_); });
    blockReadTimeout_ = clock.createTimer(
        1500, [this] { watchExpired(&LinkWatch::onBlockReadTimeout, *blockReadTimeout_); });
    namesReadTimeout_ = clock.createTimer(
        2500, [this] { watchExpired(&LinkWatch::onNamesReadTimeout, *namesReadTimeout_); });
    presetReadStep_ = clock.createTimer(700, [this] { exchanges_.onPresetReadStep(); });
    presetReadTimeout_ = clock.createTimer(16000, [this] { exchanges_.onPresetReadTimeout(); });
    presetWriteStep_ = clock.createTimer(1000, [this] { exchanges_.onPresetWriteStep(); });
    storeConfirmation_ = clock.createTimer(10, [this] { exchanges_.onStoreConfirmation(); });
    linkIndicator_ = clock.createTimer(1000, [this] { exchanges_.onLinkIndicator(); });
    recallTimeout_ = clock.createTimer(10000, [this] { exchanges_.onRecallTimeout(); });
    saveOneTimeout_ = clock.createTimer(
        TimedExchanges::SaveOneReplyTimeoutMs, [this] { exchanges_.onSaveOneTimeout(); }, true);
    linkIndicator_->start();
}

Session::~Session() = default;

void Session::watchExpired(void (LinkWatch::*handler)(), Timer& timer) {
    if (linkWatch != nullptr)
        (linkWatch->*handler)();
    else
        timer.stop();
}

void Session::endExchanges() {
    presetReadStep_->stop();
    presetReadTimeout_->stop();
    presetWriteStep_->stop();
    recallTimeout_->stop();
    saveOneTimeout_->stop();
    savingOneToFile_ = false;
    namesReplyDue_ = false;
    savingAllToFile_ = false;
    recallPending_ = false;
    storeAckPending_ = false;
    groupsRequested_ = 0;
    groupsCollected_ = 0;
    groupsSent_ = 0;
    bandProgressActive_ = false;
    bandProgressSteps_ = 0;
    ++exchangeEpoch_;
}

void Session::lockWindow() {
    view_.setPanelsEnabled(UnlockedPanels, false);
}

void Session::unlockWindow() {
    view_.hideProgress();
    view_.setPanelsEnabled(UnlockedPanels, true);
}

} // namespace m7410
