#pragma once

#include "sim/SimHidFace.h"
#include "sim/SimStreamFace.h"
#include "sim/SimUnit.h"

#include "common/UnitRig.h"
#include "ctl/CommandLine.h"
#include "ctl/ConsoleView.h"
#include "ctl/Ctl.h"
#include "e2e/HidRig.h"
#include "e2e/SerialRig.h"
#include "link/ConnectionAssembly.h"
#include "link/VirtualHidBackend.h"
#include "support/HexText.h"
#include "support/VirtualClock.h"
#include "unit/Unit.h"
#include "unit/UnitLink.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace m7410::test {

enum class Face { Hid, Serial };

inline std::string faceName(const testing::TestParamInfo<Face>& info) {
    return info.param == Face::Hid ? "Hid" : "Serial";
}

struct CtlResult {
    int code = -1;
    std::string out;
    std::string err;
};

// One simulated unit on virtual time; each run() is one start of the tool against it, with a
// fresh engine, as a script calling m7410-ctl again and again would have.
class CtlBench {
public:
    explicit CtlBench(Face face) : face(face) {
        streamFace.onOutput = [this](const std::vector<uint8_t>& batch) {
            if (serial && serial->ports.open) {
                serial->s.receiveText() += toHex(batch);
                serial->s.ProcessReceived();
            }
        };
        if (face == Face::Hid) usb = std::make_unique<SimOnUsb>(clock, unit);
    }

    CtlResult run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        CtlResult result;
        std::istringstream in(input);
        const ParsedCommandLine parsed = parseCommandLine(args);
        if (const std::optional<int> answered = Ctl::withoutUnit(parsed, out, err, in)) {
            result.code = *answered;
        } else {
            ConsoleView view(err, terminal);
            Unit unit(clock);
            unit.setFrontView(&view);
            if (face == Face::Hid) {
                const auto engine = attachUsbEngine(clock, unit, usb->backend);
                result.code = runOn(unit, view, *parsed.invocation, out, err, in);
            } else {
                serial = std::make_unique<SerialEngine>(clock, unit, streamFace);
                unit.attach(UnitLink{serial->s, serial->connection, [] { return true; },
                                     [] { return std::string("serial ttyS3"); }});
                result.code = runOn(unit, view, *parsed.invocation, out, err, in);
                serial.reset();
            }
        }
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    VirtualClock clock;
    sim::SimUnit unit;
    // The serial line's pace in bytes per second (960 is 9600 baud); 0 delivers at once.
    void setLinePace(int bytesPerSecond) { streamFace.setBytesPerSecond(bytesPerSecond); }
    // Standard error is a terminal: progress bars are drawn.
    bool terminal = false;
    // What the next runs read as standard input.
    std::string input;
    // Set to stop the next run part-way, as a signal would.
    std::function<bool()> interrupted = [] { return false; };

private:
    int runOn(Unit& u, ConsoleView& view, const Invocation& inv, std::ostream& out,
              std::ostream& err, std::istream& in) {
        Ctl ctl(u, view, out, err, in);
        ctl.setInterrupted(interrupted);
        return ctl.run(inv);
    }

    // The serial side without a port: the engine's frames go straight to the unit's byte
    // stream, its replies straight to the dispatcher.
    struct SerialEngine {
        SerialEngine(VirtualClock& clock, SessionView& view, sim::SimStreamFace& face)
            : link(clock), s(clock, view, link), connection(s, ports) {
            link.forward = [this, &face](const uint8_t* bytes, std::size_t size) {
                if (ports.open) face.write(bytes, size);
            };
        }
        FakeLink link;
        Session s;
        FakeSerialPorts ports;
        Connection connection;
    };

    Face face;
    std::unique_ptr<SimOnUsb> usb;
    sim::SimStreamFace streamFace{unit, clock};
    std::unique_ptr<SerialEngine> serial;
};

// A channel's six bands as the simulated unit holds them now.
inline ChannelBands unitBands(const sim::SimUnit& unit, int channel) {
    ChannelModel m;
    decodeBlock(unit.currentSet(), m);
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = m.band(bandAddress(channel, row));
    return bands;
}

// Every output line of a run.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace m7410::test
