#include "protocol/TimedExchanges.h"

#include "protocol/Session.h"
#include "protocol/SessionView.h"

namespace m7410 {

namespace {
constexpr int PercentPerPreset = 5;
constexpr int BlockHeaderPauseMs = 50;
constexpr int NamesAfterWriteMs = 1000;
constexpr int NamesRequestPauseMs = 50;

// An exchange whose reply never came: the window is given back, polling resumes and the user
// is told the link is gone.
void replyNeverCame(Session& s) {
    s.unlockWindow();
    s.scheduler.startPolling();
    s.view.showDisconnected();
}
} // namespace

TimedExchanges::TimedExchanges(Session& session) : s(session) {}

void TimedExchanges::startPresetRead() {
    s.groupsRequested = 0;
    s.groupsCollected = 0;
    s.saveAllToFilePending = 1;
    s.Timer8->start();
    s.Timer9->start();
}

void TimedExchanges::startPresetWrite() {
    s.groupsSent = 0;
    s.Timer10->start();
}

void TimedExchanges::startSaveOneWait() {
    saveOneExchange = s.exchangesStarted;
    s.saveOneTimer->stop();
    s.saveOneTimer->start();
}

void TimedExchanges::saveOneTimerTimer() {
    s.saveOneTimer->stop();
    // Answered (the dispatcher cleared the flag), or ended by a closed link.
    if (s.saveOneToFilePending == 0) return;
    s.saveOneToFilePending = 0;
    // An exchange started since then holds the link and restarts polling when it ends;
    // polling now would empty the receive text under its reply.
    if (s.exchangesStarted == saveOneExchange) s.scheduler.startPolling();
    s.view.showDisconnected();
}

void TimedExchanges::Timer8Timer() {
    if (s.groupsRequested >= PresetSlotCount) {
        s.Timer8->stop();
        return;
    }
    const int n = ++s.groupsRequested;
    s.scheduler.SendFrame(presetReadRequest(s.deviceNumber, n));
    s.view.setProgress(n * PercentPerPreset);
    if (n >= PresetSlotCount) s.Timer8->stop();
}

void TimedExchanges::Timer9Timer() {
    s.Timer9->stop();
    s.Timer8->stop();
    // Forget the interrupted collection, so a late reply cannot continue it.
    s.saveAllToFilePending = 0;
    s.groupsCollected = 0;
    replyNeverCame(s);
}

void TimedExchanges::Timer10Timer() {
    s.Timer10->stop();
    s.Timer1->stop();
    s.intimer->stop();
    if (s.groupsSent < 0 || s.groupsSent >= static_cast<int>(s.collection.size()) ||
        s.groupsSent >= PresetSlotCount) {
        // Fewer lines than presets: end the transfer instead of leaving the window locked.
        s.groupsSent = 0;
        s.scheduler.startPolling();
        s.unlockWindow();
        return;
    }
    s.blockText = s.collection[static_cast<std::size_t>(s.groupsSent)];
    const int n = ++s.groupsSent;
    const BlockTarget target = BlockTarget::preset(n);
    s.scheduler.SendBlockHeader(target);
    const uint32_t epoch = s.exchangeEpoch;
    s.clock.PumpWait(BlockHeaderPauseMs);
    // The link closed meanwhile: its close gave the window back and ended the transfer.
    if (s.exchangeEpoch != epoch) return;
    s.scheduler.SendParameterBlock(target);
    s.view.setProgress(n * PercentPerPreset);
    if (n < PresetSlotCount) return;

    s.groupsSent = 0;
    s.clock.PumpWait(NamesAfterWriteMs);
    if (s.exchangeEpoch != epoch) return;
    s.receiveText().clear();
    s.namesReplyDue = 1;
    s.scheduler.SendFrame(namesReadRequest(s.deviceNumber));
    s.clock.PumpWait(NamesRequestPauseMs);
    if (s.exchangeEpoch != epoch) return;
    // The tick too: the file load held it, and a lost names reply must not leave edits queued.
    s.scheduler.startPolling();
    s.unlockWindow();
}

void TimedExchanges::Timer11Timer() {
    s.Timer11->stop();
    s.RaisePending(SystemRecordPending);
    s.view.storeConfirmed();
}

void TimedExchanges::Timer13Timer() {
    s.view.setLinkIndicator(s.linkOpen != 0);
}

void TimedExchanges::Timer22Timer() {
    s.recallPending = 0;
    s.Timer22->stop();
    replyNeverCame(s);
}

} // namespace m7410
