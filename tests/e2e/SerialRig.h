#pragma once

#include "link/Connection.h"
#include "link/ConnectionPorts.h"
#include "protocol/FakeLink.h"
#include "protocol/RecordingView.h"
#include "protocol/Session.h"
#include "sim/SimStreamFace.h"
#include "sim/SimUnit.h"
#include "support/HexText.h"
#include "support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace m7410::test {

// The serial side as the connection sees it: one listed port that opens unless told not to.
struct FakeSerialPorts : ConnectionPorts {
    bool portOpens = true;
    bool open = false;
    bool waitThreadStarted = false;
    int32_t number = 0;
    std::vector<std::string> history;

    bool takeSelectedPort() override {
        number = 3;
        return true;
    }
    std::string selectedPortText() const override { return "ttyS3"; }
    int32_t& portNumber() override { return number; }
    bool OpenSerialPort() override {
        open = portOpens && number == 3;
        return open;
    }
    bool isSerialOpen() const override { return open; }
    void StartSerialWaitThread() override { waitThreadStarted = true; }
    void CloseSerialPort() override { open = waitThreadStarted = false; }
    bool hasActiveHidDevice() const override { return false; }
    void hidctlDeviceChange() override {}
    std::string deniedHidNode() const override { return {}; }
    void AddToHistory(const std::string& line) override { history.push_back(line); }
};

// The application's engine and connection against the simulated unit on a byte stream, all on
// virtual time.
struct SerialRig {
    VirtualClock clock;
    sim::SimUnit unit;
    sim::SimStreamFace face{unit, clock};
    RecordingView view;
    FakeLink link{clock};
    Session s{clock, view, link};
    FakeSerialPorts ports;
    Connection connection{s, ports};
    std::unique_ptr<Timer> stray; // for a test's own events on the clock

    SerialRig() {
        link.forward = [this](const uint8_t* bytes, std::size_t size) {
            if (ports.open) face.write(bytes, size);
        };
        face.onOutput = [this](const std::vector<uint8_t>& batch) {
            if (!ports.open) return;
            s.receiveText() += toHex(batch);
            s.ProcessReceived();
        };
    }

    void connect() {
        connection.Button3Click();
        clock.advance(3000);
    }
    // Every parameter group the unit holds equals the application's model.
    bool unitMatchesModel() const {
        return encodeBlock(s.model(), unit.currentSet()) == unit.currentSet();
    }
};

} // namespace m7410::test
