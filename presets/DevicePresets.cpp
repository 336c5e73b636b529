#include "presets/DevicePresets.h"

#include "protocol/Frame.h"
#include "protocol/Session.h"
#include "protocol/SessionView.h"

namespace m7410 {

namespace {
constexpr int PercentPerTick = 10;

// The slot of a 0-based list entry, or 0 when the entry is none of the 20.
int slotOf(int index) {
    return index >= 0 && index < PresetSlotCount ? index + 1 : 0;
}

// What the unit keeps of a name: 20 bytes, up to the first zero byte.
std::string keptName(const std::string& name) {
    return name.substr(0, std::min(name.find('\0'), PresetNameBytes));
}
} // namespace

DevicePresets::DevicePresets(Session& session)
    : s(session), Timer3(session.clock().createTimer(RecallProgressMs, [this] { Timer3Timer(); })) {
}

DevicePresets::~DevicePresets() = default;

void DevicePresets::loadClicked(int loadIndex) {
    const int slot = slotOf(loadIndex);
    if (s.linkOpen() == 0 || slot == 0) return;
    s.view().closeCurrentPage();
    s.recallPending() = true;
    s.scheduler().holdForExchange();
    s.scheduler().dropParameterMessages();
    // Locked before the pause, so no second click can start another exchange inside it.
    s.view().showProgress(0);
    s.lockWindow();
    const ExchangeGuard exchange(s);
    s.clock().PumpWait(RecallPauseMs);
    // Closed meanwhile: the close forgot the recall and gave the window back.
    if (exchange.ended() || !s.recallPending()) return;
    s.receiveText().clear();
    s.scheduler().SendFrame(presetRecallRequest(s.deviceNumber(), slot));

    s.recallTimeout().start();
    Timer3->stop();
    recallTicks = 0;
    Timer3->start();
}

void DevicePresets::Timer3Timer() {
    // The recall is over (answered, timed out or the link closed): the progress box is no
    // longer ours, another exchange may be showing it.
    if (!s.recallPending()) {
        Timer3->stop();
        return;
    }
    ++recallTicks;
    s.view().setProgress(recallTicks * PercentPerTick);
    if (recallTicks >= RecallProgressTicks) Timer3->stop();
}

void DevicePresets::saveClicked(int saveIndex, const std::string& name) {
    const int slot = slotOf(saveIndex);
    if (s.linkOpen() == 0 || slot == 0) return;
    // The unit stores the set it holds: the edits still queued must reach it first.
    if (!s.scheduler().sendQueuedEdits()) return;
    s.scheduler().holdForExchange();
    s.storeAckPending() = true;
    s.receiveText().clear();
    s.scheduler().SendFrame(presetNameWrite(s.deviceNumber(), slot, name));

    // Shown at once, without waiting for the acknowledgement.
    const std::string kept = keptName(name);
    s.view().setLoadListEntry(slot, loadListEntry(slot, kept));
    s.currentPresetName() = kept;
    s.presetNames()[static_cast<std::size_t>(slot - 1)] = kept;
    s.view().setCurrentPresetName(kept);

    const ExchangeGuard exchange(s);
    s.clock().PumpWait(StorePauseMs);
    if (exchange.ended()) return;
    s.scheduler().startPolling();
}

void DevicePresets::memoryMenuSave(int saveIndex, const std::string& name) {
    saveClicked(saveIndex, name);
}

void DevicePresets::saveListChanged(int saveIndex) {
    const int slot = slotOf(saveIndex);
    if (slot != 0) s.view().setNameField(s.presetNames()[static_cast<std::size_t>(slot - 1)]);
}

bool DevicePresets::memoryMenuAvailable() const {
    return s.linkOpen() != 0;
}

} // namespace m7410
