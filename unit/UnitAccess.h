// The operations of a unit wherever it is held: in this program (Unit) or in the program that
// owns it and serves it on a local socket (UnitClient). Front ends that take this interface work
// the same either way.
#pragma once

#include "eqtext/FilterImport.h"
#include "unit/ParameterPaths.h"
#include "unit/UnitEvents.h"
#include "unit/UnitResult.h"
#include "unit/UnitStatus.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

struct ChannelModel;

class UnitAccess {
public:
    virtual ~UnitAccess() = default;

    virtual int subscribe(UnitListener listener) = 0;
    virtual void unsubscribe(int id) = 0;

    virtual bool isConnected() const = 0;
    // What is known now, without asking the unit.
    virtual UnitStatus status() const = 0;
    // The unit's parameters as last sent or received.
    virtual const ChannelModel& model() const = 0;
    // The serial port a connect tries; empty when there is none or it is not known here.
    virtual std::string serialPort() const = 0;
    // Presets of the restore in progress that have gone out whole (0..20), as far as known.
    virtual int presetsWritten() const = 0;

    virtual void connect(UnitDone<UnitStatus> done) = 0;
    // This program is done with the unit: a held link closes, a served one is let go.
    virtual void disconnect(UnitDone<Done> done) = 0;
    virtual void readStatus(UnitDone<UnitStatus> done) = 0;
    virtual void recall(int slot, UnitDone<UnitStatus> done) = 0;
    virtual void store(int slot, const std::string& name, UnitDone<Done> done) = 0;
    virtual void saveCurrent(const std::string& path, UnitDone<std::string> done) = 0;
    virtual void loadCurrent(const std::string& path, UnitDone<std::string> done) = 0;
    virtual void backup(const std::string& path, UnitDone<std::vector<std::string>> done) = 0;
    virtual void restore(const std::string& path, bool verify, UnitDone<RestoreReport> done) = 0;
    virtual void readPresets(UnitDone<std::vector<std::string>> done) = 0;
    // Asks the restore in progress to end after the preset in flight; the restore's done then
    // gets Interrupted and presetsWritten() says how many went out. False when none runs.
    virtual bool stopRestore() = 0;
    virtual void setParameter(const ParameterPath& path, int32_t index, UnitDone<Done> done) = 0;
    // Several parameters as one change; by default one after the other.
    virtual void setParameters(const std::vector<std::pair<const ParameterPath*, int32_t>>& values,
                               UnitDone<Done> done);
    virtual void applyEq(int channel, const ChannelBands& bands, UnitDone<Done> done) = 0;
    // Presets of the 20-preset read in progress that have arrived (0..20), as far as known.
    virtual int presetsArrived() const { return 0; }

    // Keeps the events and timers the operations need going for about ms milliseconds.
    virtual void pumpWait(int ms) = 0;

    // Runs an operation to its end, keeping the engine's events and timers going meanwhile;
    // stop() ends the wait early with Interrupted (the operation is then abandoned).
    template <class T, class Start>
    UnitResult<T> await(Start start, const std::function<bool()>& stop = {}) {
        auto outcome = std::make_shared<std::optional<UnitResult<T>>>();
        start([outcome](UnitResult<T> r) { outcome->emplace(std::move(r)); });
        while (!*outcome) {
            if (stop && stop())
                return UnitResult<T>::failure(UnitErrorKind::Interrupted, "interrupted");
            pumpWait(WaitSliceMs);
        }
        return std::move(**outcome);
    }

protected:
    static constexpr int WaitSliceMs = 10;
};

} // namespace m7410
