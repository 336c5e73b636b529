#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "LinkTestSupport.h"

#include "protocol/ParameterBlock.h"
#include "support/HexText.h"
#include "support/RealClock.h"

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::test;

namespace {

// The simulated unit plugged into the virtual backend, read by the real read thread, with the
// whole HID side of the link, in real time.
struct SimRig : LinkRig<RealClock> {
    sim::SimUnit unit;
    sim::SimHidFace face{unit, clock};
    std::string key;

    SimRig() : LinkRig(true) {
        key = backend.plug(unitSpec(), [this](const uint8_t* report, std::size_t size) {
            face.writeOutputReport(report, size);
        });
        face.onInputReport = [this](const sim::SimHidFace::InputReport& report) {
            backend.sendInput(key, report.data(), report.size());
        };
        face.onUnplug = [this] { backend.unplug(key); };
        start();
    }

    void send(const Bytes& frame) { link->sendHidFrame(frame.data(), frame.size()); }
    std::string expectedReply(const Bytes& request) {
        sim::SimUnit reference;
        return toHex(reference.receiveFrame(request)[0]);
    }
};

TEST(HidWithSimulatedUnit, RepliesComeThroughTheRealReadThreadAndBlocksGoOut) {
    SimRig rig;
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

} // namespace
