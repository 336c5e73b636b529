// The simulated unit on a virtual USB device, plugged in by --demo of both programs.
#pragma once

#include <memory>
#include <string>

namespace m7410 {

class Clock;
class HidBackend;
class VirtualHidBackend;

namespace sim {
class SimHidFace;
class SimUnit;
} // namespace sim

// The simulated unit plugged in as a virtual USB device, for trying every feature without
// hardware. Give its backend to the window.
class DemoUnit {
public:
    // threadedReads: reports are read by the real read thread (the demo); without, each
    // report arrives at once on the clock's thread (tests on virtual time).
    DemoUnit(Clock& clock, bool threadedReads);
    ~DemoUnit();

    HidBackend& backend();
    sim::SimUnit& unit() { return *simUnit; }
    sim::SimHidFace& face() { return *hidFace; }

private:
    std::unique_ptr<VirtualHidBackend> virtualBackend;
    std::unique_ptr<sim::SimUnit> simUnit;
    std::unique_ptr<sim::SimHidFace> hidFace;
    std::string key;
};

} // namespace m7410
