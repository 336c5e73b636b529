#include "unit/Unit.h"

#include "link/Connection.h"
#include "model/ChannelModel.h"
#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"
#include "protocol/Session.h"

namespace m7410 {

namespace {
// The first USB scan runs once events are processed; it takes milliseconds.
constexpr int ScanLimitMs = 2000;
// A recall times out after 10 s in the engine; the wait allows for that.
constexpr int RecallLimitMs = 10000 + 1000;
// The store acknowledgement and the system record come within the poll time-out.
constexpr int ReplyLimitMs = 2000;
// The status poll goes out every 500 ms.
constexpr int StatusLimitMs = 1500;
// A reply that is due comes within the unit's latency and its transfer; a poll that goes
// unanswered for longer is the unit's own silence, which waiting does not end.
constexpr int QuietLimitMs = 1000;

template <class T> UnitResult<T> lostOrTimedOut(WaitEnd end, const std::string& what) {
    return UnitResult<T>::failure(
        end == WaitEnd::Lost ? UnitErrorKind::LinkLost : UnitErrorKind::TimeOut, what);
}
} // namespace

Unit::Unit(Clock& clock) : clock(clock) {}

Unit::~Unit() = default;

void Unit::attach(UnitLink l) {
    link.emplace(std::move(l));
    presets = std::make_unique<DevicePresets>(link->session);
    files = std::make_unique<PresetFiles>(link->session);
    reported = std::make_unique<ChannelModel>(link->session.model());
    link->session.scheduler().parameterFrameSent = [this](const uint8_t* f, std::size_t n) {
        reportSent(f, n);
    };
}

int Unit::subscribe(UnitListener listener) {
    listeners.emplace(nextListener, std::move(listener));
    return nextListener++;
}

void Unit::unsubscribe(int id) {
    listeners.erase(id);
}

void Unit::pumpWait(int ms) {
    clock.PumpWait(ms);
}

void Unit::notify(const std::function<void(UnitListener&)>& call) {
    // A listener may unsubscribe from inside its own call.
    std::vector<int> ids;
    for (auto& [id, l] : listeners)
        ids.push_back(id);
    for (int id : ids)
        if (auto it = listeners.find(id); it != listeners.end()) call(it->second);
}

std::optional<UnitIdentity> Unit::identity() const {
    return link->identity();
}

bool Unit::isConnected() const {
    return session().linkOpen() != 0;
}

const ChannelModel& Unit::model() const {
    return session().model();
}

UnitStatus Unit::status() const {
    const Session& s = session();
    UnitStatus out;
    out.link = link->describe();
    out.currentPreset = s.currentPresetNumber();
    out.currentName = s.currentPresetName();
    out.bassOn = bass;
    out.names = s.presetNames();
    return out;
}

void Unit::waitFor(std::function<bool()> reached, int limitMs, std::function<void(WaitEnd)> then) {
    waits.until(
        std::move(reached), [this] { return seen.lost; }, limitMs, std::move(then));
}

void Unit::connect(UnitDone<UnitStatus> done) {
    if (!begin(done)) return;
    if (isConnected()) {
        finish(done, UnitResult<UnitStatus>(status()));
        return;
    }
    auto d = std::make_shared<UnitDone<UnitStatus>>(std::move(done));
    waitFor(link->settled, ScanLimitMs, [this, d](WaitEnd) {
        announcedOpen = false;
        link->connection.Button3Click();
        if (!isConnected()) {
            const UnitError why = seen.error.value_or(UnitError{UnitErrorKind::NoPort, "No port."});
            finish(*d, UnitResult<UnitStatus>(why));
            return;
        }
        waitFor([this] { return seen.nameLists > 0 && seen.systemRecords > 0; }, StartUpLimitMs,
                [this, d](WaitEnd end) {
                    if (end == WaitEnd::Reached) {
                        finish(*d, UnitResult<UnitStatus>(status()));
                        return;
                    }
                    if (isConnected()) link->connection.CloseLink();
                    finish(*d, UnitResult<UnitStatus>::failure(UnitErrorKind::TimeOut,
                                                               "the start-up exchange timed out"));
                });
    });
}

bool Unit::connectOpens() const {
    return link->connection.buttonOpens();
}

void Unit::connect(AsWindow, UnitDone<UnitStatus> done) {
    if (!begin(done)) return;
    if (!connectOpens()) {
        finish(done, UnitResult<UnitStatus>(status()));
        return;
    }
    announcedOpen = false;
    link->connection.Button3Click();
    if (!isConnected()) {
        const UnitError why = seen.error.value_or(UnitError{UnitErrorKind::NoPort, "No port."});
        finish(done, UnitResult<UnitStatus>(why));
        return;
    }
    finish(done, UnitResult<UnitStatus>(status()));
}

void Unit::disconnect(AsWindow, UnitDone<Done> done) {
    // Not refused while busy: closing is what ends a stuck exchange.
    if (!connectOpens()) link->connection.CloseLink();
    done(UnitResult<Done>(Done{}));
}

void Unit::disconnect(UnitDone<Done> done) {
    if (!isConnected()) {
        done(UnitResult<Done>(Done{}));
        return;
    }
    // The poll in flight and a names reply still due are let in, so that no reply of ours
    // meets the next program's start-up; the next poll is half a second away.
    auto d = std::make_shared<UnitDone<Done>>(std::move(done));
    waitFor([this] { return !session().pollTimeout().isActive() && !session().namesReplyDue(); },
            QuietLimitMs,
            [this, d](WaitEnd) {
                if (isConnected()) link->connection.CloseLink();
                (*d)(UnitResult<Done>(Done{}));
            });
}

void Unit::readStatus(UnitDone<UnitStatus> done) {
    if (!begin(done)) return;
    auto d = std::make_shared<UnitDone<UnitStatus>>(std::move(done));
    waitFor([this] { return bass.has_value(); }, StatusLimitMs,
            [this, d](WaitEnd end) {
                if (!isConnected() || end == WaitEnd::Lost)
                    finish(*d, UnitResult<UnitStatus>::failure(UnitErrorKind::LinkLost,
                                                               "the link to the unit was lost"));
                else
                    finish(*d, UnitResult<UnitStatus>(status()));
            });
}

void Unit::recall(int slot, UnitDone<UnitStatus> done) {
    if (!begin(done)) return;
    recallSlot(slot, true, std::move(done));
}

void Unit::recall(int slot, AsWindow, UnitDone<UnitStatus> done) {
    if (!begin(done)) return;
    recallSlot(slot, false, std::move(done));
}

void Unit::recallSlot(int slot, bool settle, UnitDone<UnitStatus> done) {
    if (slot < 1 || slot > PresetSlotCount) {
        finish(done, UnitResult<UnitStatus>::failure(UnitErrorKind::InvalidArgument,
                                                     "a preset slot is 1 to 20"));
        return;
    }
    auto d = std::make_shared<UnitDone<UnitStatus>>(std::move(done));
    presets->loadClicked(slot - 1);
    waitFor([this] { return !session().recallPending(); }, RecallLimitMs,
            [this, d, slot, settle](WaitEnd end) {
                if (end != WaitEnd::Reached) {
                    finish(*d, lostOrTimedOut<UnitStatus>(
                                   end, "no answer from the unit to the recall of preset " +
                                            std::to_string(slot)));
                    return;
                }
                if (!settle) {
                    finish(*d, UnitResult<UnitStatus>(status()));
                    return;
                }
                // The unit's own number for its set in force follows with the system record.
                const int records = seen.systemRecords;
                waitFor([this, records] { return seen.systemRecords > records; }, ReplyLimitMs,
                        [this, d](WaitEnd) { finish(*d, UnitResult<UnitStatus>(status())); });
            });
}

void Unit::store(int slot, const std::string& name, UnitDone<Done> done) {
    if (!begin(done)) return;
    if (slot < 1 || slot > PresetSlotCount || name.empty() || name.size() > PresetNameBytes) {
        finish(done,
               UnitResult<Done>::failure(UnitErrorKind::InvalidArgument,
                                         "a preset slot is 1 to 20 and a name 1 to " +
                                             std::to_string(PresetNameBytes) + " characters"));
        return;
    }
    auto d = std::make_shared<UnitDone<Done>>(std::move(done));
    presets->saveClicked(slot - 1, name);
    waitFor([this] { return seen.stored; }, ReplyLimitMs,
            [this, d, slot](WaitEnd end) {
                if (end == WaitEnd::Reached)
                    finish(*d, UnitResult<Done>(Done{}));
                else
                    finish(*d,
                           lostOrTimedOut<Done>(end, "the unit did not confirm storing preset " +
                                                         std::to_string(slot)));
            });
}

} // namespace m7410
