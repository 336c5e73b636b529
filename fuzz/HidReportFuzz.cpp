// libFuzzer target: HID input reports, whole or short, with pauses drawn from the input, go
// through the report reassembly into the dispatcher.
#include "Finding.h"
#include "FuzzInput.h"
#include "SessionChecks.h"

#include "link/HidDeviceController.h"
#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/TrafficLog.h"
#include "link/VirtualHidBackend.h"
#include "protocol/RecordingView.h"
#include "support/VirtualClock.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace m7410;

namespace {

// The reassembly as the window's rules give it, kept apart from the code under test: a header
// report names the data length L, whole reports follow, the last one gives its first L mod 64
// bytes and the checksum and end marker; a message whose next report is 500 ms late is dropped.
struct Reassembly {
    bool receiving = false;
    std::string text;
    int length = 0;
    int count = 0;
    int64_t lastMs = 0;
    std::vector<std::string> delivered;

    void report(const std::vector<uint8_t>& bytes, int64_t nowMs) {
        if (receiving && nowMs - lastMs >= HidReportIo::AssemblyTimeoutMs) receiving = false;
        lastMs = nowMs;
        const std::string hex = toHex(bytes);
        if (receiving) {
            if (count == length / 64) {
                delivered.push_back(text + hex.substr(0, std::size_t(length % 64 + 2) * 2));
                receiving = false;
                return;
            }
            text += hex;
            ++count;
            return;
        }
        if (hex.compare(0, 6, "A5A5A5") != 0 || hex.size() < 20) return;
        length = hexWordAt(hex, 16);
        text = hex.substr(0, 20);
        count = 0;
        receiving = true;
    }
};

// The dispatcher's way back to the reassembly, as the window wires it.
struct ReassemblyLink : test::FakeLink {
    using FakeLink::FakeLink;
    HidReportIo* io = nullptr;
    void resetHidAssembly() override {
        FakeLink::resetHidAssembly();
        if (io) io->resetAssembly();
    }
};

// Takes each whole message as the window does, and keeps a copy to compare.
struct CopyingSink : InboundSink {
    explicit CopyingSink(Session& s) : s(s) {}
    std::string& receiveText() override { return s.receiveText(); }
    void ProcessReceived() override {
        messages.push_back(s.receiveText());
        s.ProcessReceived();
        if (fault.empty()) fault = fuzz::receiveTextFault(s);
    }
    Session& s;
    std::vector<std::string> messages;
    std::string fault;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

// Input: a flags byte (bit 0: reports of any length 1..64, bit 1: link open), then for each
// report a pause byte (4 ms steps), a length byte when lengths vary, and the report's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const uint8_t flags = in.byte();
    const bool anyLength = flags & 1;

    VirtualClock clock;
    test::RecordingView view;
    ReassemblyLink link{clock};
    Session s{clock, view, link};
    s.linkOpen() = (flags >> 1) & 1;
    CopyingSink sink{s};
    VirtualHidBackend backend;
    HidDeviceController hidctl{backend, clock};
    HidUnitPicker picker{hidctl};
    TrafficLog log;
    HidReportIo io{picker, log, sink, clock};
    link.io = &io;
    Reassembly expected;

    while (!in.empty()) {
        clock.advance(int64_t(in.byte()) * 4);
        const std::size_t length = anyLength ? 1 + in.byte() % 64 : 64;
        std::vector<uint8_t> report = in.take(length);
        if (!anyLength) report.resize(64);
        expected.report(report, clock.nowMs());
        io.ShowRead(nullptr, 0, report.data(), static_cast<uint16_t>(report.size()));
        if (io.hidReceiving() != expected.receiving)
            fuzz::fail(expected.receiving ? "a message was given up early" : "a message was kept");
        if (!sink.fault.empty()) fuzz::fail(sink.fault);
    }
    if (sink.messages != expected.delivered)
        fuzz::fail("delivered " + std::to_string(sink.messages.size()) + " messages, expected " +
                   std::to_string(expected.delivered.size()));
    for (const std::string& message : sink.messages) {
        // Whole reports make whole frames, as long as the length in their header says; only
        // a length one short of a whole report leaves the end marker to a report of its own.
        const int dataLength = hexWordAt(message, 16);
        const std::size_t frameBytes =
            std::size_t(dataLength + 12) - (dataLength % 64 == 63 ? 1 : 0);
        if (!anyLength && message.size() != frameBytes * 2)
            fuzz::fail("a message of " + std::to_string(message.size()) +
                       " characters for length " + std::to_string(dataLength));
    }
    clock.advance(3000);
    const std::string fault = fuzz::sessionFault(s, link);
    if (!fault.empty()) fuzz::fail(fault);
    return 0;
}
