// Before any Qt header: the simulated unit has a member named like Qt's "slots" keyword.
#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "LinkTestSupport.h"

#include "link/DeviceLink.h"
#include "link/HidDeviceController.h"
#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/SerialTransport.h"
#include "link/TrafficLog.h"
#include "protocol/ParameterBlock.h"
#include "support/HexText.h"
#include "support/RealClock.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::test;

namespace {

// The simulated unit plugged into the virtual backend, with the whole HID side of the link.
template <typename ClockType> struct SimRig {
    ClockType clock;
    sim::SimUnit unit;
    sim::SimHidFace face{unit, clock};
    VirtualHidBackend backend;
    std::string key;
    std::unique_ptr<HidDeviceController> hidctl;
    std::unique_ptr<HidUnitPicker> picker;
    TrafficLog log;
    RecordingSink sink;
    int32_t linkOpen = 1;
    SerialTransport serial{clock, sink, linkOpen};
    std::unique_ptr<HidReportIo> io;
    std::unique_ptr<DeviceLink> link;

    explicit SimRig(bool threaded) {
        app();
        backend.setThreadedReads(threaded);
        key = backend.plug(unitSpec(), [this](const uint8_t* report, std::size_t size) {
            face.writeOutputReport(report, size);
        });
        face.onInputReport = [this](const sim::SimHidFace::InputReport& report) {
            backend.sendInput(key, report.data(), report.size());
        };
        face.onUnplug = [this] { backend.unplug(key); };
        hidctl = std::make_unique<HidDeviceController>(backend, clock);
        picker = std::make_unique<HidUnitPicker>(*hidctl);
        io = std::make_unique<HidReportIo>(*picker, log, sink, clock);
        link = std::make_unique<DeviceLink>(*picker, *io, serial);
        picker->onUnitData = [this](HidDevice* d, uint8_t id, const uint8_t* data, uint16_t n) {
            io->ShowRead(d, id, data, n);
        };
    }
    ~SimRig() {
        picker.reset();
        hidctl.reset();
    }

    void send(const Bytes& frame) { link->sendHidFrame(frame.data(), frame.size()); }
    std::string expectedReply(const Bytes& request) {
        sim::SimUnit reference;
        return toHex(reference.receiveFrame(request)[0]);
    }
};

TEST(HidWithSimulatedUnit, RepliesComeThroughTheRealReadThreadAndBlocksGoOut) {
    SimRig<RealClock> rig(true);
    ASSERT_TRUE(processUntil([&] { return rig.picker->hidUnitPresent(); }));
    ASSERT_TRUE(rig.backend.waitForReader(rig.key));

    rig.send(currentBlockReadRequest(0));
    ASSERT_TRUE(processUntil([&] { return rig.sink.received.size() == 1; }));
    EXPECT_EQ(rig.sink.received[0], rig.expectedReply(currentBlockReadRequest(0)));
    rig.send(namesReadRequest(0));
    ASSERT_TRUE(processUntil([&] { return rig.sink.received.size() == 2; }));
    EXPECT_EQ(rig.sink.received[1], rig.expectedReply(namesReadRequest(0)));

    BlockData block = rig.unit.currentSet();
    setBlockName(block, "From the link");
    const auto header = blockWriteHeader(BlockTarget::currentSet(), 0);
    rig.link->sendHidFrame(header.data(), header.size());
    const BlockImage image = buildWriteImage(block, BlockTarget::currentSet(), 0);
    rig.link->sendHidBlock(image.data(), image.size());
    EXPECT_TRUE(processUntil([&] { return rig.unit.currentSet() == block; }));
    EXPECT_EQ(rig.log.count(), 9); // three requests, the header and six block reports
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

TEST(HidWithSimulatedUnit, UnplugInTheMiddleOfAReplyOnVirtualTime) {
    SimRig<VirtualClock> rig(false);
    rig.clock.runDue();
    ASSERT_TRUE(rig.picker->hidUnitPresent());

    rig.face.unplugAfterInputReports(3);
    rig.send(currentBlockReadRequest(0));
    rig.clock.advance(100);
    EXPECT_FALSE(rig.picker->hidUnitPresent());
    EXPECT_TRUE(rig.sink.received.empty());
    rig.send(statusRequest(0)); // nowhere to go now
    rig.clock.advance(HidReportIo::AssemblyTimeoutMs);
    EXPECT_FALSE(rig.io->hidReceiving());

    rig.face.replug();
    rig.key = rig.backend.plug(unitSpec(), [&](const uint8_t* report, std::size_t size) {
        rig.face.writeOutputReport(report, size);
    });
    rig.clock.runDue();
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    rig.send(statusRequest(0));
    rig.clock.advance(100);
    ASSERT_EQ(rig.sink.received.size(), 1u);
    EXPECT_EQ(rig.sink.received[0], rig.expectedReply(statusRequest(0)));
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

} // namespace
