// The unit as the engine's view: it learns each outcome and hands every call on to the front
// end's own view, if any.
#include "unit/Unit.h"

#include "protocol/Frame.h"
#include "protocol/Session.h"

namespace m7410 {

void Unit::showProgress(int percent) {
    if (quietProgress) return;
    if (front) front->showProgress(percent);
    notify([percent](UnitListener& l) {
        if (l.progress) l.progress(percent);
    });
}
void Unit::setProgress(int percent) {
    // A restore reports each preset once its block has gone out.
    if (restoring) restoredPresets = percent * PresetSlotCount / 100;
    if (quietProgress) return;
    if (front) front->setProgress(percent);
    notify([percent](UnitListener& l) {
        if (l.progress) l.progress(percent);
    });
}
void Unit::hideProgress() {
    if (quietProgress) return;
    if (front) front->hideProgress();
    notify([](UnitListener& l) {
        if (l.progress) l.progress(-1);
    });
}
void Unit::setPanelsEnabled(unsigned panels, bool enabled) {
    disabled = enabled ? disabled & ~panels : disabled | panels;
    if (front) front->setPanelsEnabled(panels, enabled);
}
void Unit::closeCurrentPage() {
    if (front) front->closeCurrentPage();
}
void Unit::showMessage(const std::string& text) {
    if (front) front->showMessage(text);
}
void Unit::showDisconnected() {
    seen.lost = true;
    bass.reset();
    announcedOpen = false;
    if (front) front->showDisconnected();
    notify([](UnitListener& l) {
        if (l.linkChanged) l.linkChanged(false);
    });
}
void Unit::hideDisconnected() {
    if (front) front->hideDisconnected();
}

// A path given with the operation answers the dialog, or the operation's question asks the
// user; an engine handler pressed directly asks the front end.
std::optional<std::string> Unit::askSaveFileName(PresetFileKind kind) {
    ++seen.saveDialogs;
    if (busy) return answer(savePath);
    return front ? front->askSaveFileName(kind) : std::nullopt;
}
std::optional<std::string> Unit::askOpenFileName(PresetFileKind kind) {
    if (busy) return answer(openPath);
    return front ? front->askOpenFileName(kind) : std::nullopt;
}
// The question's answer is kept as the operation's path, so that errors name the file.
std::optional<std::string> Unit::answer(std::optional<std::string>& path) {
    if (!question) return path;
    path = question();
    if (!path) seen.cancelled = true;
    return path;
}

// The typed outcomes become the operation's result here; the front end is shown only the
// window's text for them (the base class's words), so no front end needs to know them.
void Unit::presetFileRefused(FileRefusal why, const std::string& message) {
    const std::string file = openPath.value_or("the file");
    if (why == FileRefusal::Damaged) {
        seen.error =
            UnitError{UnitErrorKind::FileDamaged,
                      file + ": damaged" + (expected.empty() ? "" : " (" + expected + ")") +
                          "; nothing was sent"};
    } else {
        // The engine's words start with its own caption; the line names the file instead.
        const std::string notRead = "File not read: ";
        seen.error = UnitError{
            UnitErrorKind::FileNotReadable,
            file + ": " +
                (message.starts_with(notRead) ? message.substr(notRead.size()) : message)};
    }
    if (front) front->SessionView::presetFileRefused(why, message);
}
void Unit::presetFileNotSaved(const std::string& error) {
    seen.error = UnitError{UnitErrorKind::FileNotWritten,
                           savePath.value_or("the file") + ": not saved: " + error};
    if (front) front->SessionView::presetFileNotSaved(error);
}
void Unit::presetFileSaved(const std::string&) {
    seen.saved = true;
}
void Unit::storeConfirmed() {
    seen.stored = true;
    if (front) front->SessionView::storeConfirmed();
}
void Unit::linkRefused(LinkRefusal why, const std::string& message) {
    seen.error = UnitError{why == LinkRefusal::NoPort ? UnitErrorKind::NoPort
                                                      : UnitErrorKind::PermissionDenied,
                           message};
    if (front) front->SessionView::linkRefused(why, message);
}

void Unit::setConnectCaption(const std::string& caption) {
    if (front) front->setConnectCaption(caption);
}
void Unit::setConnectEnabled(bool enabled) {
    if (front) front->setConnectEnabled(enabled);
}
void Unit::setStatusText(const std::string& text) {
    if (front) front->setStatusText(text);
}
void Unit::setLinkIndicator(bool linkOpen) {
    if (front) front->setLinkIndicator(linkOpen);
}
void Unit::setUsbLabel(const std::string& text) {
    if (front) front->setUsbLabel(text);
}
void Unit::hidePersonalPanels() {
    if (front) front->hidePersonalPanels();
}
void Unit::setBassOn(bool on) {
    bass = on;
    ++seen.statusReplies;
    if (front) front->setBassOn(on);
}
void Unit::setCurrentPresetNumber(int number) {
    ++seen.systemRecords;
    if (front) front->setCurrentPresetNumber(number);
}
void Unit::setCurrentPresetName(const std::string& name) {
    if (front) front->setCurrentPresetName(name);
}
void Unit::setLoadList(const std::vector<std::string>& entries) {
    ++seen.nameLists;
    seen.statusAtNames = seen.statusReplies;
    if (!announcedOpen) {
        announcedOpen = true;
        notify([](UnitListener& l) {
            if (l.linkChanged) l.linkChanged(true);
        });
    }
    if (front) front->setLoadList(entries);
    if (!link) return;
    const auto names = session().presetNames();
    notify([&names](UnitListener& l) {
        if (l.namesChanged) l.namesChanged(names);
    });
}
void Unit::selectFirstPreset() {
    if (front) front->selectFirstPreset();
}
void Unit::setLoadListEntry(int slot, const std::string& text) {
    if (front) front->setLoadListEntry(slot, text);
    if (!link) return;
    const auto names = session().presetNames();
    notify([&names](UnitListener& l) {
        if (l.namesChanged) l.namesChanged(names);
    });
}
void Unit::setNameField(const std::string& name) {
    if (front) front->setNameField(name);
}
void Unit::setPolarity(int channel, bool inverted) {
    if (front) front->setPolarity(channel, inverted);
}
void Unit::setMuteColour(int channel, bool soundOn) {
    if (front) front->setMuteColour(channel, soundOn);
}
void Unit::setVolume(int position) {
    if (front) front->setVolume(position);
}
void Unit::parameterSetReplaced() {
    *reported = session().model();
    if (front) front->parameterSetReplaced();
    notify([](UnitListener& l) {
        if (l.setReplaced) l.setReplaced(ChangeOrigin::Unit);
    });
}
void Unit::refreshBand(int band) {
    if (front) front->refreshBand(band);
}
void Unit::computeHighPass(int channel, int type) {
    if (front) front->computeHighPass(channel, type);
}
void Unit::computeLowPass(int channel, int type) {
    if (front) front->computeLowPass(channel, type);
}

} // namespace m7410
