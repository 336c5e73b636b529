#include "protocol/Dispatcher.h"

#include "protocol/ApplySet.h"
#include "protocol/LinkPort.h"
#include "protocol/PresetFileWriter.h"
#include "protocol/ProtocolLogging.h"
#include "protocol/Session.h"
#include "protocol/SessionView.h"
#include "support/HexText.h"

#include <algorithm>
#include <string>

namespace m7410 {

namespace {

constexpr std::size_t ReceiveLimit = 1000;
constexpr std::string_view StartText = "A5A5A5";
// Lengths in characters of the whole frames as they are recognised.
constexpr std::size_t ShortReplyChars = 40;
constexpr std::size_t AckChars = 24;
constexpr std::size_t BlockChars = BlockTextLength;
constexpr std::size_t NamesChars = 824;
constexpr std::size_t DataChar = 2 * FrameHeaderSize; // first data character, 0-based
constexpr std::size_t TailChars = 4;                  // checksum and end marker

constexpr int Grey = 0;
constexpr int Red = 1;

// The lines are taken by value: the dialog may run events, and the session's collection with
// them, while the file is chosen.
void saveLines(Session& s, PresetFileKind kind, std::vector<std::string> lines) {
    const std::optional<std::string> path = s.view().askSaveFileName(kind);
    if (!path) return;
    std::string error;
    // A lost save must not pass for a successful one.
    if (!writePresetFile(*path, lines, error)) {
        qCWarning(lcProtocol) << "preset file not written:" << error.c_str();
        s.view().presetFileNotSaved(error);
        return;
    }
    s.view().presetFileSaved(*path);
}

} // namespace

Dispatcher::Dispatcher(Session& session) : s(session) {}

void Dispatcher::ProcessReceived() {
    s.link().resetHidAssembly();
    s.startUpTimeout().stop();
    s.pollTimeout().stop();
    // Serial batches may carry the end of one frame and several more: handle every complete
    // frame now instead of leaving it until more bytes arrive.
    while (dispatchHead() && !s.receiveText().empty()) {
    }
}

bool Dispatcher::headIs(std::size_t firstChar, std::string_view text) const {
    const std::string& t = s.receiveText();
    const std::size_t at = firstChar - 1;
    return t.size() >= at + text.size() && t.compare(at, text.size(), text) == 0;
}

int Dispatcher::dataByte(std::size_t n) const {
    return hexByteAt(s.receiveText(), DataChar + 2 * n);
}

void Dispatcher::drop(std::size_t chars) {
    std::string& t = s.receiveText();
    if (t.size() > chars)
        t.erase(0, chars);
    else
        t.clear();
}

bool Dispatcher::dispatchHead() {
    std::string& t = s.receiveText();
    const std::size_t before = t.size();
    // A start marker still arriving in pieces is kept; anything else at the head is noise.
    const std::size_t head = std::min(t.size(), StartText.size());
    if (std::string_view(t).substr(0, head) != StartText.substr(0, head)) {
        qCDebug(lcProtocol) << "no start marker, dropped:" << t.substr(0, 24).c_str();
        t.clear();
    }
    if (t.size() < StartText.size()) return t.size() != before;
    if (handleHead()) return true;
    if (t.size() != before) return true;
    // The limit empties a text whose head nobody takes. It is applied only after the head had
    // its chance: replies merged into one large serial batch are all handled, not thrown away.
    if (t.size() >= ReceiveLimit) {
        qCDebug(lcProtocol) << "receive text over the limit, dropped:" << t.size() << "characters";
        t.clear();
        return true;
    }
    return false;
}

bool Dispatcher::handleHead() {
    const std::string& t = s.receiveText();
    if (headIs(9, "52002B000008") && t.size() >= ShortReplyChars) {
        statusReply();
        return true;
    }
    if (headIs(9, "520021000008") && t.size() >= ShortReplyChars) {
        systemRecord();
        return true;
    }
    if (headIs(9, "510000000000") && t.size() >= AckChars) storeAcknowledgement();
    if (t.size() >= BlockChars && headIs(9, "52") && headIs(13, "29") && s.savingAllToFile())
        presetBlock();
    if (headIs(9, "52") && headIs(13, "28") && t.size() >= BlockChars) {
        currentBlock();
        return true;
    }
    if (headIs(9, "520026") && t.size() >= NamesChars) {
        presetNames();
        return true;
    }
    return false;
}

bool Dispatcher::namesReplyIncomplete() const {
    const std::string& t = s.receiveText();
    if (t.empty() || t.size() >= NamesChars) return false;
    // The start of a names reply, as far as it has come; the device number may be any.
    constexpr std::string_view Head = "A5A5A5??520026";
    for (std::size_t i = 0; i < std::min(t.size(), Head.size()); ++i)
        if (Head[i] != '?' && t[i] != Head[i]) return false;
    return true;
}

void Dispatcher::statusReply() {
    const int bass = dataByte(0);
    if (bass == Grey) s.view().setBassOn(false);
    if (bass == Red) s.view().setBassOn(true);
    drop(ShortReplyChars);
}

void Dispatcher::systemRecord() {
    const int number = dataByte(0);
    if (number >= 0) {
        s.currentPresetNumber() = number;
        s.view().setCurrentPresetNumber(number);
    }
    // Always removed, so a record of a low preset number cannot hide the frames behind it.
    drop(ShortReplyChars);
}

void Dispatcher::storeAcknowledgement() {
    if (s.storeAckPending()) {
        s.storeAckPending() = false;
        s.storeConfirmation().start();
    }
    drop(AckChars);
}

void Dispatcher::presetBlock() {
    s.collection().push_back(s.receiveText().substr(0, BlockChars));
    drop(BlockChars);
    if (++s.groupsCollected() < PresetSlotCount) return;
    s.presetReadTimeout().stop();
    s.unlockWindow();
    s.groupsCollected() = 0;
    s.savingAllToFile() = false;
    saveLines(s, PresetFileKind::TwentyGroup, s.collection());
    s.scheduler().startPolling();
}

void Dispatcher::currentBlock() {
    s.blockReadTimeout().stop();
    if (s.savingOneToFile()) {
        s.savingOneToFile() = false;
        s.saveOneTimeout().stop();
        const std::string line = s.receiveText().substr(0, BlockChars);
        drop(BlockChars);
        s.collection().assign(1, line);
        saveLines(s, PresetFileKind::OneGroup, s.collection());
        s.scheduler().startPolling();
        return;
    }
    const std::optional<BlockData> block = blockDataFromText(s.receiveText());
    // Only this frame leaves: bytes of the next reply may already follow it on a serial line.
    drop(BlockChars);
    if (!block) return;
    applyBlockToSession(s, *block);

    if (s.recallPending()) {
        s.recallPending() = false;
        s.RaisePending(SystemRecordPending);
        s.recallTimeout().stop();
        s.unlockWindow();
        s.scheduler().startPolling();
        return;
    }
    // A reply that comes after its start-up timed out (the unit stays readable over USB) does
    // not carry on with a link that is closed.
    if (s.linkOpen() == 0) return;
    s.scheduler().SendFrame(namesReadRequest(s.deviceNumber()));
}

void Dispatcher::presetNames() {
    s.namesReadTimeout().stop();
    s.namesReplyDue() = false;
    const std::optional<std::vector<uint8_t>> data = fromHex(
        std::string_view(s.receiveText()).substr(DataChar, NamesChars - DataChar - TailChars));
    drop(NamesChars);
    if (!data) return;
    std::vector<std::string> entries;
    for (int k = 0; k < PresetSlotCount; ++k) {
        s.presetNames()[k] = decodeName(data->data() + PresetNameBytes * k, PresetNameBytes);
        entries.push_back(loadListEntry(k + 1, s.presetNames()[k]));
    }
    s.view().setLoadList(entries);
    s.view().selectFirstPreset();
    if (s.linkOpen() == 0) return; // a late reply: the start-up it belonged to is over
    s.RaisePending(SystemRecordPending);
    s.scheduler().startPolling();
}

} // namespace m7410
