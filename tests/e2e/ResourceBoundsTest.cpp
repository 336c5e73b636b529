// A unit that keeps sending garbage for hours must not make the application's buffers grow.
#include "HidRig.h"
#include "SerialRig.h"

#include "model/ValueTables.h"

#include <algorithm>

namespace m7410::test {
namespace {

struct Peaks {
    std::size_t receive = 0;
    int logLines = 0;
    int pendingSlots = 0;

    void sample(Session& s) {
        receive = std::max(receive, s.receiveText().size());
        pendingSlots = std::max(
            pendingSlots, static_cast<int>(std::count(s.pending().begin(), s.pending().end(), 1)));
    }
};

// Step through a long session in small pieces, editing now and then so the pending table is
// used too, and sample the sizes after every piece.
template <typename Rig> Peaks runGarbageSession(Rig& rig, Session& s, int64_t hours) {
    Peaks peaks;
    const int64_t end = rig.clock.nowMs() + hours * 3600000;
    int step = 0;
    while (rig.clock.nowMs() < end) {
        if (++step % 7 == 0) {
            s.model().band(step % EqBandCount).q = step % QCount;
            s.builders().QueueEqBandMessage(step % EqBandCount);
            s.builders().QueueCrossoverMessage(step % ChannelCount);
        }
        rig.clock.advance(97);
        peaks.sample(s);
        if (s.linkOpen() == 0 && step % 300 == 0) rig.connect(); // the user tries again
    }
    return peaks;
}

// The longest texts the dispatcher may hold: a little over one names reply.
constexpr std::size_t ReceiveBound = 4096;

TEST(ResourceBounds, SerialGarbageBetweenEveryReplyForHours) {
    SerialRig rig;
    rig.face.setGarbageBytes(300);
    rig.face.setSplitBatches(64, 3);
    rig.connect();
    const Peaks peaks = runGarbageSession(rig, rig.s, 2);
    EXPECT_LE(peaks.receive, ReceiveBound);
    EXPECT_LE(peaks.pendingSlots, PendingSlotCount);
    EXPECT_LE(rig.ports.history.size(), 1000u);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

TEST(ResourceBounds, HidGarbageReportsForHours) {
    HidRig rig;
    rig.face.setGarbageReports(true);
    rig.connect();
    const Peaks peaks = runGarbageSession(rig, rig.session(), 2);
    EXPECT_LE(peaks.receive, ReceiveBound);
    EXPECT_LE(peaks.pendingSlots, PendingSlotCount);
    EXPECT_LE(rig.app->log.count(), TrafficLog::MaxLines);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
