#include "sim/SimStreamFace.h"

#include <algorithm>

namespace m7410::sim {

namespace {

constexpr int DefaultFrameGapMs = 1000;

} // namespace

SimStreamFace::SimStreamFace(SimUnit& unit, Clock& clock)
    : unit(unit), clock(clock),
      outbox(clock, [this](std::vector<uint8_t>&& b) { deliver(std::move(b)); }),
      gapTimer(clock.createTimer(
          DefaultFrameGapMs, [this] { scanner.discardPartial(); }, true)) {
    scanner.onFrame = [this](const Bytes& f) { submit(f); };
    scanner.onMalformed = [this](const Bytes& b, std::string_view why) {
        this->unit.noteMalformed(why, b.data(), b.size());
    };
}

void SimStreamFace::setSplitBatches(int max, unsigned seed) {
    maxBatch = max;
    random.seed(seed);
}

void SimStreamFace::setFrameGapTimeoutMs(int ms) {
    gapTimer->stop();
    gapTimer->setInterval(ms);
}

void SimStreamFace::write(const uint8_t* bytes, std::size_t size) {
    scanner.feed(bytes, size);
    // A block write pauses between its header and its image; only a long silence in the
    // middle of a frame means the rest is not coming.
    gapTimer->stop();
    if (scanner.pending() > 0 && gapTimer->interval() > 0) gapTimer->start();
}

void SimStreamFace::submit(const Bytes& frame) {
    for (const Bytes& reply : unit.receiveFrame(frame)) {
        if (garbage > 0) {
            Bytes junk(static_cast<std::size_t>(garbage));
            for (std::size_t i = 0; i < junk.size(); ++i)
                junk[i] = uint8_t(0x11 * (i % 9 + 1));
            queueReply(junk);
        }
        queueReply(reply);
    }
}

void SimStreamFace::queueReply(const Bytes& bytes) {
    const int64_t now = clock.nowMs();
    int64_t start = now + unit.faults().latencyMs;
    if (!outbox.empty()) start = std::max(start, outbox.lastDueMs() + (pace > 0 ? 1 : 0));
    int64_t pieceStart = start;
    int pieceLeft = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        int64_t due = start;
        if (pace > 0) due = start + int64_t(k) * 1000 / pace;
        if (maxBatch > 0) {
            if (pieceLeft == 0) {
                pieceLeft = std::uniform_int_distribution<int>(1, maxBatch)(random);
                if (k > 0) pieceStart = std::max(pieceStart + 1, due);
            }
            --pieceLeft;
            due = std::max(due, pieceStart);
        }
        if (mergeWindowMs > 0) due = (due + mergeWindowMs - 1) / mergeWindowMs * mergeWindowMs;
        outbox.push(due, bytes[k]);
    }
}

void SimStreamFace::deliver(std::vector<uint8_t>&& bytes) {
    if (dead) return;
    if (bytesBeforeCut >= 0) {
        if (bytes.size() >= std::size_t(bytesBeforeCut)) {
            bytes.resize(std::size_t(bytesBeforeCut));
            dead = true;
            outbox.clear();
        }
        bytesBeforeCut -= static_cast<int>(bytes.size());
    }
    if (!bytes.empty() && onOutput) onOutput(bytes);
}

} // namespace m7410::sim
