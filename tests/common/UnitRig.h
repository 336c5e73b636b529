// The simulated unit plugged into a virtual USB bus on virtual time, and a Unit over an engine
// on that bus: the common ground of the unit API's, the share's and the tool's tests.
#pragma once

#include "e2e/HidRig.h"
#include "link/ConnectionAssembly.h"
#include "link/VirtualHidBackend.h"
#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"
#include "support/VirtualClock.h"
#include "unit/Unit.h"
#include "unit/UnitLink.h"

#include <memory>
#include <string>

namespace m7410::test {

// The unit's reports arrive at once on the clock's thread (no read thread).
struct SimOnUsb {
    SimOnUsb(VirtualClock& clock, sim::SimUnit& sim) : face(sim, clock) {
        backend.setThreadedReads(false);
        face.onInputReport = [this](const sim::SimHidFace::InputReport& r) {
            backend.sendInput(key, r.data(), r.size());
        };
        key = backend.plug(simUnitSpec(), [this](const uint8_t* r, std::size_t n) {
            face.writeOutputReport(r, n);
        });
    }
    SimOnUsb(const SimOnUsb&) = delete;
    SimOnUsb& operator=(const SimOnUsb&) = delete;

    sim::SimHidFace face;
    VirtualHidBackend backend;
    std::string key;
};

// An engine on the bus with no serial ports, the unit attached to it.
inline std::unique_ptr<ConnectionAssembly> attachUsbEngine(VirtualClock& clock, Unit& unit,
                                                           HidBackend& backend) {
    auto engine = std::make_unique<ConnectionAssembly>(clock, unit, backend, [] {
        return std::optional<std::vector<SerialPortEntry>>(std::vector<SerialPortEntry>{});
    });
    unit.attach(linkOf(*engine));
    return engine;
}

// One unit for the whole of a test, not yet connected.
class UnitRig {
public:
    VirtualClock clock;
    sim::SimUnit sim;
    SimOnUsb usb{clock, sim};
    Unit unit{clock};
    std::unique_ptr<ConnectionAssembly> engine = attachUsbEngine(clock, unit, usb.backend);

    UnitResult<UnitStatus> connect() {
        return unit.await<UnitStatus>([this](UnitDone<UnitStatus> d) { unit.connect(std::move(d)); });
    }
};

} // namespace m7410::test
