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
    s.scheduler().startPolling();
    s.view().showDisconnected();
}
} // namespace

TimedExchanges::TimedExchanges(Session& session) : s(session) {}

void TimedExchanges::startPresetRead() {
    s.groupsRequested() = 0;
    s.groupsCollected() = 0;
    s.savingAllToFile() = true;
    s.presetReadStep().start();
    s.presetReadTimeout().start();
}

void TimedExchanges::startPresetWrite() {
    s.groupsSent() = 0;
    s.presetWriteStep().start();
}

void TimedExchanges::startSaveOneWait() {
    saveOneExchange = s.exchangesStarted();
    s.saveOneTimeout().stop();
    s.saveOneTimeout().start();
}

void TimedExchanges::onSaveOneTimeout() {
    s.saveOneTimeout().stop();
    // Answered (the dispatcher cleared the flag), or ended by a closed link.
    if (!s.savingOneToFile()) return;
    s.savingOneToFile() = false;
    // An exchange started since then holds the link and restarts polling when it ends;
    // polling now would empty the receive text under its reply.
    if (s.exchangesStarted() == saveOneExchange) s.scheduler().startPolling();
    s.view().showDisconnected();
}

void TimedExchanges::onPresetReadStep() {
    if (s.groupsRequested() >= PresetSlotCount) {
        s.presetReadStep().stop();
        return;
    }
    const int n = ++s.groupsRequested();
    s.scheduler().SendFrame(presetReadRequest(s.deviceNumber(), n));
    s.view().setProgress(n * PercentPerPreset);
    if (n >= PresetSlotCount) s.presetReadStep().stop();
}

void TimedExchanges::onPresetReadTimeout() {
    s.presetReadTimeout().stop();
    s.presetReadStep().stop();
    // Forget the interrupted collection, so a late reply cannot continue it.
    s.savingAllToFile() = false;
    s.groupsCollected() = 0;
    replyNeverCame(s);
}

void TimedExchanges::onPresetWriteStep() {
    s.presetWriteStep().stop();
    s.statusPoll().stop();
    s.pollTimeout().stop();
    if (s.groupsSent() < 0 || s.groupsSent() >= static_cast<int>(s.collection().size()) ||
        s.groupsSent() >= PresetSlotCount) {
        // Fewer lines than presets: end the transfer instead of leaving the window locked.
        s.groupsSent() = 0;
        s.scheduler().startPolling();
        s.unlockWindow();
        return;
    }
    s.blockText() = s.collection()[static_cast<std::size_t>(s.groupsSent())];
    const int n = ++s.groupsSent();
    const BlockTarget target = BlockTarget::preset(n);
    s.scheduler().SendBlockHeader(target);
    const ExchangeGuard exchange(s);
    s.clock().PumpWait(BlockHeaderPauseMs);
    // The link closed meanwhile: its close gave the window back and ended the transfer.
    if (exchange.ended()) return;
    s.scheduler().SendParameterBlock(target);
    s.view().setProgress(n * PercentPerPreset);
    if (n < PresetSlotCount) return;

    s.groupsSent() = 0;
    s.clock().PumpWait(NamesAfterWriteMs);
    if (exchange.ended()) return;
    s.receiveText().clear();
    s.namesReplyDue() = true;
    s.scheduler().SendFrame(namesReadRequest(s.deviceNumber()));
    s.clock().PumpWait(NamesRequestPauseMs);
    if (exchange.ended()) return;
    // The tick too: the file load held it, and a lost names reply must not leave edits queued.
    s.scheduler().startPolling();
    s.unlockWindow();
}

void TimedExchanges::onStoreConfirmation() {
    s.storeConfirmation().stop();
    s.RaisePending(SystemRecordPending);
    s.view().storeConfirmed();
}

void TimedExchanges::onLinkIndicator() {
    s.view().setLinkIndicator(s.linkOpen() != 0);
}

void TimedExchanges::onRecallTimeout() {
    s.recallPending() = false;
    s.recallTimeout().stop();
    replyNeverCame(s);
}

} // namespace m7410
