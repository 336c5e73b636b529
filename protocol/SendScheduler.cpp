#include "protocol/SendScheduler.h"

#include "protocol/LinkPort.h"
#include "protocol/ParameterGroup.h"
#include "protocol/ProtocolLogging.h"
#include "protocol/Session.h"
#include "protocol/SessionView.h"

#include <algorithm>

namespace m7410 {

namespace {
constexpr std::size_t MaxReportFrame = 64;
constexpr int LastParameterMessage = 36;
constexpr int ProgressStepPercent = 16;
constexpr int ProgressStepCount = 6;
constexpr int EditsWaitStepMs = 10; // the scheduler's own tick
constexpr unsigned EditsWaitPanels = UnlockedPanels | EqPanel;
} // namespace

SendScheduler::SendScheduler(Session& session) : s(session) {}

void SendScheduler::RaisePending(int message) {
    if (message >= 1 && message <= PendingSlotCount) s.pending()[message] = 1;
}

void SendScheduler::ClearAllPending() {
    s.pending().fill(0);
}

bool SendScheduler::isPending(int message) const {
    return message >= 1 && message <= PendingSlotCount && s.pending()[message] == 1;
}

void SendScheduler::SendFrame(const uint8_t* frame, std::size_t size) {
    if (size == 0) return;
    qCDebug(lcProtocol) << (s.link().isHidActive() ? "HID" : "serial") << "send"
                        << QByteArray(reinterpret_cast<const char*>(frame),
                                      static_cast<qsizetype>(size))
                               .toHex(' ')
                               .toUpper();
    if (s.link().isHidActive()) {
        if (size <= MaxReportFrame) s.link().sendHidFrame(frame, size);
    } else if (s.linkOpen() != 0) {
        s.link().writeSerial(frame, size);
    }
}

void SendScheduler::SendBlockHeader(BlockTarget target) {
    const auto header = blockWriteHeader(target, s.deviceNumber());
    SendFrame(header.data(), header.size());
}

void SendScheduler::SendParameterBlock(BlockTarget target) {
    if (s.linkOpen() == 0) return;
    // The text was checked when it was loaded; a bad one is skipped rather than sent as zeros,
    // and the sequence still goes on so the window is given back at its end.
    if (const auto data = blockDataFromText(s.blockText())) {
        const BlockImage image = buildWriteImage(*data, target, s.deviceNumber());
        if (s.link().isHidActive())
            s.link().sendHidBlock(image.data(), image.size());
        else
            s.link().writeSerial(image.data(), image.size());
    }
    if (target.isPreset() && target.slot < PresetSlotCount) s.presetWriteStep().start();
}

void SendScheduler::onTick() {
    if (s.linkOpen() == 0) return;
    for (int slot = 1; slot <= PendingSlotCount; ++slot) {
        if (s.pending()[slot] != 1) continue;
        s.sendingMessage() = slot;
        s.pending()[slot] = 0;
        stopPolling();
        s.sendStep().start();
        return;
    }
}

void SendScheduler::onAfterSendPause() {
    s.afterSendPause().stop();
    startPolling();
}

void SendScheduler::onStatusPoll() {
    if (s.linkOpen() == 0) return;
    // A names reply still arriving after a 20-preset write is kept whole, once: its status
    // reply then follows it. Anything else left over is stale.
    if (s.namesReplyDue() && s.dispatcher().namesReplyIncomplete())
        s.namesReplyDue() = false;
    else
        s.receiveText().clear();
    SendFrame(statusRequest(s.deviceNumber()));
    // A running time-out is not restarted: it counts from the first unanswered poll.
    s.pollTimeout().start();
}

void SendScheduler::onSendStep() {
    // While the link is closed the step stays armed and sends once a link is open again.
    if (s.linkOpen() == 0) return;
    s.sendStep().stop();
    const int message = s.sendingMessage();
    if (message == SystemRecordPending) {
        SendFrame(systemRecordRequest(s.deviceNumber()));
    } else if (message >= 1 && message <= LastParameterMessage) {
        // A slot whose frame no builder ever made has nothing to send.
        const ParameterFrame frame = s.frames().frame(message);
        if (frame[0] == StartMarker) {
            SendFrame(frame.data(), frame.size());
            if (parameterFrameSent) parameterFrameSent(frame.data(), frame.size());
        }
    }
    const uint64_t bit = message >= 1 && message <= PendingSlotCount ? uint64_t{1} << message : 0;
    if (s.bandProgressActive() && (progressMessages & bit) != 0) {
        progressMessages &= ~bit;
        ++s.bandProgressSteps();
        s.view().setProgress(s.bandProgressSteps() * ProgressStepPercent);
        if (s.bandProgressSteps() >= ProgressStepCount) {
            s.bandProgressActive() = false;
            s.view().hideProgress();
            s.view().setPanelsEnabled(EditingPanels, true);
        }
    }
    s.sendingMessage() = 0;
    s.afterSendPause().start();
}

void SendScheduler::beginBandProgress(int channel) {
    s.bandProgressActive() = true;
    s.bandProgressSteps() = 0;
    progressMessages = 0;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        progressMessages |= uint64_t{1}
                            << addressOf(eqBandGroup(bandAddress(channel, row))).pendingMessage;
}

void SendScheduler::startPolling() {
    s.statusPoll().start();
    s.tick().start();
}

void SendScheduler::stopPolling() {
    s.tick().stop();
    s.statusPoll().stop();
    s.pollTimeout().stop();
}

void SendScheduler::stopAll() {
    stopPolling();
    s.afterSendPause().stop();
    s.sendStep().stop();
    s.sendingMessage() = 0;
}

void SendScheduler::dropParameterMessages() {
    for (int slot = 1; slot <= LastParameterMessage; ++slot)
        s.pending()[slot] = 0;
}

int SendScheduler::queuedEdits() const {
    int count = 0;
    for (int slot = 1; slot <= LastParameterMessage; ++slot)
        if (s.pending()[slot] == 1) ++count;
    if (s.sendStep().isActive() && s.sendingMessage() >= 1 &&
        s.sendingMessage() <= LastParameterMessage)
        ++count;
    return count;
}

bool SendScheduler::sendQueuedEdits() {
    const int total = queuedEdits();
    if (total == 0) return true;
    const auto schedulerRuns = [this] {
        return s.tick().isActive() || s.sendStep().isActive() || s.afterSendPause().isActive();
    };
    // Held by the start-up or another exchange: the edits wait for it, as before.
    if (!schedulerRuns()) return true;
    const ExchangeGuard exchange(s);
    s.view().showProgress(0);
    // The open page too, so no new edit joins the queue while it drains.
    s.view().setPanelsEnabled(EditsWaitPanels, false);
    for (int left = total; left > 0 && schedulerRuns(); left = queuedEdits()) {
        s.view().setProgress((total - std::min(left, total)) * 100 / total);
        s.clock().PumpWait(EditsWaitStepMs);
        if (exchange.ended() || s.linkOpen() == 0) return false;
    }
    s.view().hideProgress();
    s.view().setPanelsEnabled(EditsWaitPanels, true);
    return true;
}

void SendScheduler::holdForExchange() {
    ++s.exchangesStarted();
    stopPolling();
    s.afterSendPause().stop();
    if (s.sendStep().isActive()) {
        s.sendStep().stop();
        RaisePending(s.sendingMessage());
        s.sendingMessage() = 0;
    }
}

} // namespace m7410
