#include "presets/PresetFiles.h"

#include "presets/ApplyParameterText.h"
#include "presets/PresetFileReader.h"
#include "protocol/Frame.h"
#include "protocol/LinkPort.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "protocol/SessionView.h"
#include "support/HexText.h"

namespace m7410 {

namespace {
constexpr int PercentPerTick = 10;
const std::string FileDamaged = "File damaged.";

// A record passes the checks with values the window cannot show; the unit must get the set the
// window applies, so those fields are limited as a received set is. The bytes the unit does
// not read stay as the file has them. Says in the traffic log what was changed.
std::string limitedRecord(Session& s, const std::string& record, const std::string& what) {
    std::optional<BlockData> block = blockDataFromText(record);
    if (!block) return record;
    const int changed = limitBlock(*block);
    if (changed == 0) return record;
    s.link().note(what + ": " + std::to_string(changed) +
                  (changed == 1 ? " field was" : " fields were") +
                  " outside its range and was limited before sending");
    const std::size_t dataStart = 2 * FrameHeaderSize;
    return record.substr(0, dataStart) + toHex(block->data(), block->size()) +
           record.substr(dataStart + 2 * BlockSize);
}
} // namespace

PresetFiles::PresetFiles(Session& session)
    : s(session),
      loadProgress(session.clock().createTimer(LoadProgressMs, [this] { onLoadProgress(); })),
      loadExchange(session) {}

PresetFiles::~PresetFiles() = default;

void PresetFiles::saveOneGroupToPc() {
    if (s.linkOpen() == 0) return;
    // Each press owns its wait: an earlier press's time-out must not end this one.
    s.saveOneTimeout().stop();
    // The file must hold what the window shows, edits still queued included.
    if (!s.scheduler().sendQueuedEdits()) return;
    s.lockWindow();
    s.scheduler().holdForExchange();
    s.savingOneToFile() = true;
    const ExchangeGuard exchange(s);
    s.clock().PumpWait(ExchangePauseMs);
    if (exchange.ended()) return;
    s.collection().clear();
    s.receiveText().clear();
    s.scheduler().SendFrame(currentBlockReadRequest(s.deviceNumber()));
    s.exchanges().startSaveOneWait();
    s.clock().PumpWait(ExchangePauseMs);
    if (exchange.ended()) return;
    // The file is offered when the block arrives; the window need not wait for it.
    s.view().setPanelsEnabled(UnlockedPanels, true);
}

void PresetFiles::saveTwentyGroupsToPc() {
    if (s.linkOpen() == 0) return;
    s.view().closeCurrentPage();
    s.scheduler().holdForExchange();
    s.view().showProgress(0);
    s.lockWindow();
    const ExchangeGuard exchange(s);
    s.clock().PumpWait(ExchangePauseMs);
    if (exchange.ended()) return;
    s.receiveText().clear();
    s.collection().clear();
    s.exchanges().startPresetRead();
}

std::optional<std::vector<std::string>> PresetFiles::readChosenFile(PresetFileKind kind,
                                                                    const ExchangeGuard& exchange) {
    const std::optional<std::string> path = s.view().askOpenFileName(kind);
    // The dialog runs events: a link that closed meanwhile ended the action and its polling.
    if (exchange.ended() || s.linkOpen() == 0) return std::nullopt;
    std::vector<std::string> lines;
    if (!path) return lines;
    std::string error;
    switch (readPresetFile(*path, lines, error)) {
    case PresetFileRead::Read:
        return lines;
    case PresetFileRead::TooLarge:
        rejectFile(FileRefusal::Damaged, FileDamaged);
        return std::nullopt;
    case PresetFileRead::Unreadable:
        break;
    }
    // Not the file's fault: say what the system reported instead of calling it damaged.
    rejectFile(FileRefusal::NotReadable, "File not read: " + error);
    return std::nullopt;
}

void PresetFiles::rejectFile(FileRefusal why, const std::string& message) {
    s.scheduler().startPolling();
    s.view().presetFileRefused(why, message);
}

void PresetFiles::loadOneGroupToDevice() {
    if (s.linkOpen() == 0) return;
    s.view().closeCurrentPage();
    s.scheduler().holdForExchange();
    s.blockText().clear();
    s.collection().clear();
    const ExchangeGuard exchange(s);
    const std::optional<std::vector<std::string>> lines =
        readChosenFile(PresetFileKind::OneGroup, exchange);
    if (!lines) return;
    // A record split over several lines loads like one line.
    std::string text;
    for (const std::string& line : *lines)
        text += line;
    if (text.empty()) {
        s.scheduler().startPolling();
        return;
    }
    if (!isGroupRecord(text)) {
        rejectFile(FileRefusal::Damaged, FileDamaged);
        return;
    }

    s.scheduler().dropParameterMessages();
    s.view().showProgress(0);
    s.lockWindow();
    loadTicks = 0;
    loadExchange = exchange;
    loadProgress->stop();
    loadProgress->start();
    s.scheduler().SendBlockHeader(BlockTarget::currentSet());
    s.clock().PumpWait(BlockHeaderPauseMs);
    if (exchange.ended()) return;
    s.blockText() = limitedRecord(s, text, "Preset file");
    s.scheduler().SendParameterBlock(BlockTarget::currentSet());
    // The window shows the loaded set at once; the unit needs a while to take it in.
    ApplyParameterText(s, text);
    s.clock().PumpWait(LoadSettleMs);
    loadProgress->stop();
    if (exchange.ended()) return;
    s.scheduler().startPolling();
    s.unlockWindow();
}

void PresetFiles::onLoadProgress() {
    // A closed link ended the load; the progress box may belong to another exchange now.
    if (loadExchange.ended()) {
        loadProgress->stop();
        return;
    }
    ++loadTicks;
    s.view().setProgress(loadTicks * PercentPerTick);
    if (loadTicks >= LoadProgressTicks) loadProgress->stop();
}

void PresetFiles::loadTwentyGroupsToDevice() {
    if (s.linkOpen() == 0) return;
    s.view().closeCurrentPage();
    s.scheduler().holdForExchange();
    s.collection().clear();
    const ExchangeGuard exchange(s);
    const std::optional<std::vector<std::string>> lines =
        readChosenFile(PresetFileKind::TwentyGroup, exchange);
    if (!lines) return;
    if (lines->empty()) {
        s.scheduler().startPolling();
        return;
    }
    // Nothing goes out before every line has passed: a half-written set of presets is worse
    // than none.
    if (lines->size() != static_cast<std::size_t>(PresetSlotCount)) {
        rejectFile(FileRefusal::Damaged, FileDamaged);
        return;
    }
    for (const std::string& line : *lines) {
        if (!isGroupRecord(line)) {
            rejectFile(FileRefusal::Damaged, FileDamaged);
            return;
        }
    }
    s.collection().clear();
    for (std::size_t k = 0; k < lines->size(); ++k)
        s.collection().push_back(
            limitedRecord(s, (*lines)[k], "Preset file record " + std::to_string(k + 1)));
    s.view().showProgress(0);
    s.lockWindow();
    s.exchanges().startPresetWrite();
}

} // namespace m7410
