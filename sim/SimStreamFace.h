// The simulated unit on a byte stream, such as a serial line.
#pragma once

#include "sim/FrameScanner.h"
#include "sim/SimUnit.h"
#include "sim/TimedQueue.h"
#include "support/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace m7410::sim {

// The unit on a byte stream (a serial line): frames in, whole reply frames out, optionally
// paced like the line and cut or lumped the way a real port's reads would see them.
class SimStreamFace {
public:
    SimStreamFace(SimUnit& unit, Clock& clock);

    void write(const uint8_t* bytes, std::size_t size);
    std::function<void(const std::vector<uint8_t>&)> onOutput; // batches of reply bytes

    // Line pacing: 0 sends a reply at once; 960 is 9600 baud with 8N1 (about 1 ms per byte).
    void setBytesPerSecond(int bytesPerSecond) { pace = bytesPerSecond; }
    // Replies go out in random pieces of 1..maxBatch bytes, 1 ms apart when not paced.
    void setSplitBatches(int maxBatch, unsigned seed = 1);
    // Output is held and sent in lumps at multiples of windowMs, so replies close together
    // arrive merged in one batch.
    void setMergeWindowMs(int windowMs) { mergeWindowMs = windowMs; }
    // This many garbage bytes go out before every reply.
    void setGarbageBytes(int count) { garbage = count; }
    // After this many more reply bytes the line goes dead (a cable pulled halfway); -1 cancels.
    void setCutAfterBytes(int count) { bytesBeforeCut = count; }
    // The cable is plugged back in: a cut line carries replies again.
    void replug() {
        dead = false;
        bytesBeforeCut = -1;
    }
    // A frame that stops arriving for this long is given up (0 waits for ever).
    void setFrameGapTimeoutMs(int ms);
    // Bytes not yet sent.
    std::size_t queuedBytes() const { return outbox.size(); }

private:
    void submit(const Bytes& frame);
    void queueReply(const Bytes& bytes);
    void deliver(std::vector<uint8_t>&& bytes);

    SimUnit& unit;
    Clock& clock;
    FrameScanner scanner;
    TimedQueue<uint8_t> outbox;
    std::unique_ptr<Timer> gapTimer;
    std::mt19937 random;
    int pace = 0;
    int maxBatch = 0;
    int mergeWindowMs = 0;
    int garbage = 0;
    int bytesBeforeCut = -1;
    bool dead = false;
};

} // namespace m7410::sim
