#pragma once

#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "link/ConnectionAssembly.h"
#include "link/VirtualHidBackend.h"
#include "protocol/RecordingView.h"
#include "support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace m7410::test {

inline VirtualHidDeviceInfo simUnitSpec() {
    VirtualHidDeviceInfo info;
    info.vendorId = sim::SimHidFace::VendorId;
    info.productId = sim::SimHidFace::ProductId;
    info.product = u"RIVIDAVIDIZIR02";
    info.serial = u"0000002";
    return info;
}

// The whole engine as the window owns it, with the simulated unit plugged into the virtual
// HID backend (reports delivered at once, on virtual time) and no serial ports.
struct HidRig {
    VirtualClock clock;
    sim::SimUnit unit;
    sim::SimHidFace face{unit, clock};
    VirtualHidBackend backend;
    RecordingView view;
    std::string unitKey;
    std::unique_ptr<ConnectionAssembly> app;

    // ports: what the system lists as serial ports (none unless told).
    explicit HidRig(std::vector<SerialPortEntry> ports = {}) {
        backend.setThreadedReads(false);
        face.onInputReport = [this](const sim::SimHidFace::InputReport& report) {
            backend.sendInput(unitKey, report.data(), report.size());
        };
        face.onUnplug = [this] { backend.unplug(unitKey); };
        plugUnit();
        app = std::make_unique<ConnectionAssembly>(clock, view, backend, [ports] {
            return std::optional<std::vector<SerialPortEntry>>(ports);
        });
        clock.runDue(); // the controller's first scan
    }
    ~HidRig() { app.reset(); }

    void plugUnit() {
        face.replug();
        unitKey = backend.plug(simUnitSpec(), [this](const uint8_t* report, std::size_t size) {
            face.writeOutputReport(report, size);
        });
    }
    Session& session() { return app->session; }
    void connect() {
        app->connection.Button3Click();
        clock.advance(3000);
    }
    bool unitMatchesModel() const {
        return encodeBlock(app->session.model(), unit.currentSet()) == unit.currentSet();
    }
    std::vector<std::string> logLines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (int i = 0; i < app->log.count(); ++i) {
            const std::string line = app->log.line(i).toStdString();
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        }
        return out;
    }
};

} // namespace m7410::test
