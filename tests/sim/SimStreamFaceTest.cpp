#include "SimTestSupport.h"

#include "protocol/ParameterBlock.h"
#include "sim/SimStreamFace.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>

using namespace m7410;
using namespace m7410::sim;

namespace {

struct StreamRig {
    VirtualClock clock;
    SimUnit unit;
    SimStreamFace face{unit, clock};
    std::vector<std::pair<int64_t, Bytes>> batches;

    StreamRig() {
        face.onOutput = [this](const Bytes& b) { batches.emplace_back(clock.nowMs(), b); };
    }
    void send(const Bytes& b) { face.write(b.data(), b.size()); }
    Bytes all() const {
        Bytes out;
        for (const auto& b : batches)
            out.insert(out.end(), b.second.begin(), b.second.end());
        return out;
    }
};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST(SimStreamFace, FindsFramesHoweverTheBytesArrive) {
    StreamRig rig;
    const Bytes status = statusRequest(0);
    // One byte at a time, then two requests in one write.
    for (uint8_t b : status)
        rig.face.write(&b, 1);
    rig.send(concat({systemRecordRequest(0), statusRequest(0)}));
    rig.clock.advance(50);
    SimUnit reference;
    const Bytes expected = concat({reference.receiveFrame(statusRequest(0))[0],
                                   reference.receiveFrame(systemRecordRequest(0))[0],
                                   reference.receiveFrame(statusRequest(0))[0]});
    EXPECT_EQ(rig.all(), expected);
    ASSERT_EQ(rig.batches.size(), 1u);
    EXPECT_EQ(rig.batches[0].first, 5);

    // A block write's header and image come 100 ms apart.
    BlockData block{};
    block[100] = 42;
    const auto header = blockWriteHeader(BlockTarget::currentSet(), 0);
    const BlockImage image = buildWriteImage(block, BlockTarget::currentSet(), 0);
    rig.send(Bytes(header.begin(), header.end()));
    rig.clock.advance(100);
    rig.send(Bytes(image.begin(), image.end()));
    EXPECT_EQ(rig.unit.currentSet(), block);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

TEST(SimStreamFace, ResynchronisesAfterBadBytesWithoutLosingTheFollowingFrame) {
    StreamRig rig;
    Bytes truncated = currentBlockReadRequest(0);
    truncated.resize(7);
    Bytes badChecksum = statusRequest(0);
    badChecksum[10] ^= 1;
    // Garbage, a frame cut short, a frame with a bad checksum, and good frames among them.
    rig.send(concat({{0x00, 0x13, 0xA5},
                     statusRequest(0),
                     truncated,
                     namesReadRequest(0),
                     badChecksum,
                     systemRecordRequest(0)}));
    rig.clock.advance(50);
    EXPECT_EQ(rig.unit.framesReceived(KindRequest, CodeStatus), 1);
    EXPECT_EQ(rig.unit.framesReceived(KindRequest, CodeNames), 1);
    EXPECT_EQ(rig.unit.framesReceived(KindRequest, CodeSystemRecord), 1);
    EXPECT_EQ(rig.unit.malformedFrames(), 3);

    // A frame that stops halfway is given up after a second of silence.
    rig.send(truncated);
    rig.clock.advance(999);
    EXPECT_EQ(rig.unit.malformedFrames(), 3);
    rig.clock.advance(1);
    EXPECT_EQ(rig.unit.malformedFrames(), 4);
    rig.send(statusRequest(0));
    EXPECT_EQ(rig.unit.framesReceived(KindRequest, CodeStatus), 2);
}

TEST(SimStreamFace, PacesSplitsAndMergesTheOutput) {
    StreamRig paced;
    paced.face.setBytesPerSecond(960);
    paced.send(namesReadRequest(0));
    paced.clock.advance(1000);
    EXPECT_EQ(paced.all().size(), 412u);
    EXPECT_EQ(paced.batches.size(), 412u); // a byte takes more than a millisecond
    EXPECT_EQ(paced.batches.back().first, 5 + 411 * 1000 / 960);

    StreamRig split;
    split.face.setSplitBatches(7, 3);
    split.send(currentBlockReadRequest(0));
    split.clock.advance(1000);
    EXPECT_GE(split.batches.size(), 332u / 7);
    for (const auto& b : split.batches)
        EXPECT_LE(b.second.size(), 7u);
    SimUnit reference;
    EXPECT_EQ(split.all(), reference.receiveFrame(currentBlockReadRequest(0))[0]);

    StreamRig merged;
    merged.face.setMergeWindowMs(600);
    merged.face.setGarbageBytes(2);
    merged.send(statusRequest(0));
    merged.clock.advance(300);
    merged.send(presetNameWrite(0, 2, "Club"));
    merged.clock.advance(400);
    ASSERT_EQ(merged.batches.size(), 1u);
    EXPECT_EQ(merged.batches[0].first, 600);
    EXPECT_EQ(merged.all().size(), 2 + 20 + 2 + 12u);
}
