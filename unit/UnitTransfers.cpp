// The unit API's file and preset transfers: one-group save and load, backup and restore.
#include "unit/Unit.h"

#include "presets/PresetFiles.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "support/AtomicFile.h"
#include "unit/SlotCompare.h"

namespace m7410 {

namespace {
// The engine's own time-outs end each exchange; these only keep a wait from outliving them.
constexpr int ReadLimitMs = 16000 + 1000;
constexpr int WriteLimitMs = PresetSlotCount * 1100 + 3000;
constexpr int SaveOneLimitMs = TimedExchanges::SaveOneReplyTimeoutMs + 1000;
// The names reply that ends a 20-preset write, and the status reply after it: the unit's
// latency and two replies' transfer at 9600 baud, with room for a late unit.
constexpr int AfterWriteLimitMs = 3000;

const std::string OneGroupHolds = "a one-group file holds 664 hex digits";
const std::string TwentyGroupsHold = "a 20-group file holds 20 lines of 664 hex digits";

std::string nameOf(const std::string& record) {
    const std::optional<BlockData> block = blockDataFromText(record);
    return block ? blockName(*block) : std::string();
}

// Checked before the unit is asked for what goes into the file; the line names the file.
std::optional<std::string> unwritableFile(const std::string& path) {
    QString reason;
    if (checkWritable(QString::fromStdString(path), reason, FolderWords::Named))
        return std::nullopt;
    return path + ": " + reason.toStdString();
}

template <class T> UnitResult<T> lostOrTimedOut(WaitEnd end, const std::string& what) {
    return UnitResult<T>::failure(
        end == WaitEnd::Lost ? UnitErrorKind::LinkLost : UnitErrorKind::TimeOut, what);
}
} // namespace

int Unit::presetsArrived() const {
    return readingPresets ? static_cast<int>(session().collection().size()) : 0;
}

void Unit::readPresets(UnitDone<std::vector<std::string>> done) {
    if (!begin(done)) return;
    auto d = std::make_shared<UnitDone<std::vector<std::string>>>(std::move(done));
    const int dialogs = seen.saveDialogs;
    readingPresets = true;
    files->saveTwentyGroupsToPc();
    waitFor([this, dialogs] { return seen.saveDialogs > dialogs; }, ReadLimitMs,
            [this, d](WaitEnd end) {
                const Session& s = session();
                if (end != WaitEnd::Reached) {
                    std::string what = "the unit did not send all 20 presets (" +
                                       std::to_string(s.collection().size()) + " arrived)";
                    if (savePath) what += "; " + *savePath + " was not written";
                    finish(*d, lostOrTimedOut<std::vector<std::string>>(end, what));
                    return;
                }
                if (seen.cancelled) {
                    finish(*d, UnitResult<std::vector<std::string>>::failure(
                                   UnitErrorKind::Interrupted, "cancelled; no file was written"));
                    return;
                }
                if (seen.error) {
                    finish(*d, UnitResult<std::vector<std::string>>(*seen.error));
                    return;
                }
                finish(*d, UnitResult<std::vector<std::string>>(s.collection()));
            });
}

void Unit::backup(const std::string& path, UnitDone<std::vector<std::string>> done) {
    if (busy) {
        readPresets(std::move(done)); // answers Busy
        return;
    }
    if (std::optional<std::string> why = unwritableFile(path)) {
        done(UnitResult<std::vector<std::string>>::failure(UnitErrorKind::FileNotWritten, *why));
        return;
    }
    // The read asks for the file name once every record is in.
    savePath = path;
    readPresets(std::move(done));
}

void Unit::backup(AsWindow window, UnitDone<std::vector<std::string>> done) {
    if (busy) {
        readPresets(std::move(done)); // answers Busy
        return;
    }
    // The engine writes the file atomically and reports a failure itself, once it has a path.
    question = std::move(window.ask);
    readPresets(std::move(done));
}

void Unit::saveCurrent(const std::string& path, UnitDone<std::string> done) {
    if (!begin(done)) return;
    if (std::optional<std::string> why = unwritableFile(path)) {
        finish(done, UnitResult<std::string>::failure(UnitErrorKind::FileNotWritten, *why));
        return;
    }
    savePath = path;
    auto d = std::make_shared<UnitDone<std::string>>(std::move(done));
    const int dialogs = seen.saveDialogs;
    files->saveOneGroupToPc();
    waitFor([this, dialogs] { return seen.saveDialogs > dialogs; }, SaveOneLimitMs,
            [this, d](WaitEnd end) {
                const Session& s = session();
                if (end != WaitEnd::Reached) {
                    finish(*d, lostOrTimedOut<std::string>(
                                   end, "the unit did not send its current set; " +
                                            savePath.value_or("the file") + " was not written"));
                    return;
                }
                if (seen.error) {
                    finish(*d, UnitResult<std::string>(*seen.error));
                    return;
                }
                finish(*d, UnitResult<std::string>(s.collection().empty()
                                                       ? std::string()
                                                       : nameOf(s.collection().front())));
            });
}

void Unit::loadCurrent(const std::string& path, UnitDone<std::string> done) {
    if (!begin(done)) return;
    openPath = path;
    loadOne(done);
}

void Unit::loadCurrent(AsWindow window, UnitDone<std::string> done) {
    if (!begin(done)) return;
    question = std::move(window.ask);
    loadOne(done);
}

void Unit::loadOne(UnitDone<std::string>& done) {
    expected = OneGroupHolds;
    const bool lostBefore = seen.lost;
    files->loadOneGroupToDevice();
    const Session& s = session();
    if (seen.cancelled) {
        finish(done, UnitResult<std::string>::failure(UnitErrorKind::Interrupted,
                                                      "cancelled; nothing was sent"));
    } else if (seen.error) {
        finish(done, UnitResult<std::string>(*seen.error));
    } else if (!isConnected() || seen.lost != lostBefore) {
        finish(done, UnitResult<std::string>::failure(
                         UnitErrorKind::LinkLost, "the link to the unit was lost during the load"));
    } else if (s.blockText().empty()) {
        finish(done, UnitResult<std::string>::failure(UnitErrorKind::FileDamaged,
                                                      openPath.value_or("the file") +
                                                          ": empty; nothing was sent"));
    } else {
        finish(done, UnitResult<std::string>(s.currentPresetName()));
    }
}

void Unit::afterWrite(std::function<void()> then) {
    // The write ends with a names request. Its reply must be in, and the poll that follows it
    // answered, before anything else is asked: a read started meanwhile would be cut by the
    // polls that the reply's end restarts, and the next program would start on a line still
    // carrying it. The reply may have come while the write was finishing: the counts are the
    // operation's own, from its start.
    waitFor([this] { return seen.nameLists > 0; }, AfterWriteLimitMs,
            [this, then = std::move(then)](WaitEnd end) {
                if (end != WaitEnd::Reached) {
                    then();
                    return;
                }
                waitFor([this] { return seen.statusReplies > seen.statusAtNames; },
                        AfterWriteLimitMs, [then](WaitEnd) { then(); });
            });
}

void Unit::restore(const std::string& path, bool verify, UnitDone<RestoreReport> done) {
    if (!begin(done)) return;
    openPath = path;
    restoreFile(true, verify, std::move(done));
}

void Unit::restore(AsWindow window, UnitDone<RestoreReport> done) {
    if (!begin(done)) return;
    question = std::move(window.ask);
    restoreFile(false, false, std::move(done));
}

void Unit::restoreFile(bool settle, bool verify, UnitDone<RestoreReport> done) {
    expected = TwentyGroupsHold;
    restoring = true;
    restoredPresets = 0;
    restoreStop = false;
    files->loadTwentyGroupsToDevice();
    const Session& s = session();
    if (seen.cancelled) {
        finish(done, UnitResult<RestoreReport>::failure(UnitErrorKind::Interrupted,
                                                        "cancelled; nothing was sent"));
        return;
    }
    if (seen.error) {
        finish(done, UnitResult<RestoreReport>(*seen.error));
        return;
    }
    if (!locked()) {
        if (!isConnected())
            finish(done, UnitResult<RestoreReport>::failure(UnitErrorKind::LinkLost,
                                                            "the link to the unit was lost"));
        else
            finish(done, UnitResult<RestoreReport>::failure(UnitErrorKind::FileDamaged,
                                                            openPath.value_or("the file") +
                                                                ": empty; nothing was sent"));
        return;
    }
    RestoreReport report;
    // What went out: the file's records, with any field outside its range limited as the
    // window limits it before sending.
    report.written = s.collection();
    auto d = std::make_shared<UnitDone<RestoreReport>>(std::move(done));
    // While the write step is armed no preset is in flight: a stop takes effect there.
    waitFor([this] { return !locked() || (restoreStop && session().presetWriteStep().isActive()); },
            WriteLimitMs, [this, d, report, settle, verify](WaitEnd end) {
                if (end == WaitEnd::Reached && locked()) {
                    endStoppedRestore(*d);
                    return;
                }
                if (end != WaitEnd::Reached) {
                    finish(*d, UnitResult<RestoreReport>::failure(
                                   UnitErrorKind::LinkLost,
                                   "the link to the unit was lost during the restore"));
                    return;
                }
                if (!settle) {
                    finish(*d, UnitResult<RestoreReport>(report));
                    return;
                }
                afterWrite([this, d, report, verify] {
                    if (!isConnected()) {
                        finish(*d, UnitResult<RestoreReport>::failure(
                                       UnitErrorKind::LinkLost,
                                       "the link to the unit was lost after the restore"));
                    } else if (!verify) {
                        finish(*d, UnitResult<RestoreReport>(report));
                    } else {
                        readBack(report, std::move(*d));
                    }
                });
            });
}

bool Unit::stopRestore() {
    if (!restoring) return false;
    restoreStop = true;
    return true;
}

void Unit::endStoppedRestore(UnitDone<RestoreReport>& done) {
    Session& s = session();
    // As a write that runs out of records ends: polling again and the window given back.
    s.presetWriteStep().stop();
    s.groupsSent() = 0;
    s.scheduler().startPolling();
    s.unlockWindow();
    const int written = restoredPresets;
    finish(done, UnitResult<RestoreReport>::failure(
                     UnitErrorKind::Interrupted,
                     "the restore was stopped after " + std::to_string(written) + " presets"));
}

void Unit::readBack(RestoreReport report, UnitDone<RestoreReport> done) {
    busy = false; // the read-back is this operation's own second half
    readPresets(
        [report, done = std::move(done)](UnitResult<std::vector<std::string>> read) mutable {
            if (!read) {
                done(UnitResult<RestoreReport>::failure(
                    read.error().kind, "the presets could not be read back to verify the restore"));
                return;
            }
            report.differing = differingSlots(report.written, read.value());
            report.verified = report.differing.empty();
            done(UnitResult<RestoreReport>(report));
        });
}

} // namespace m7410
