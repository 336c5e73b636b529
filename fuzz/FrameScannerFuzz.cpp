// libFuzzer target: the simulated unit's frame scanner on any byte stream, cut anywhere, and
// the unit's answers to whatever frames it finds.
#include "Finding.h"
#include "FuzzInput.h"
#include "OutboundCheck.h"

#include "sim/FrameScanner.h"
#include "sim/SimUnit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace m7410;

namespace {

struct Scan {
    std::vector<Bytes> frames;
    int malformed = 0;
    std::size_t mostPending = 0;
};

// Feeds the stream in pieces of 1..maxPiece bytes (all at once for 0).
Scan scan(const Bytes& stream, unsigned seed, std::size_t maxPiece) {
    Scan out;
    sim::FrameScanner scanner;
    scanner.onFrame = [&](const Bytes& frame) { out.frames.push_back(frame); };
    scanner.onMalformed = [&](const Bytes&, std::string_view) { ++out.malformed; };
    std::minstd_rand random(seed);
    for (std::size_t pos = 0; pos < stream.size();) {
        const std::size_t piece =
            maxPiece == 0 ? stream.size() : 1 + std::size_t(random()) % maxPiece;
        const std::size_t n = std::min(piece, stream.size() - pos);
        scanner.feed(stream.data() + pos, n);
        pos += n;
        out.mostPending = std::max(out.mostPending, scanner.pending());
    }
    scanner.discardPartial();
    if (scanner.pending() != 0) fuzz::fail("bytes left after giving up a partial frame");
    return out;
}

} // namespace

// Input: a seed byte and a piece-size byte for the cuts, then the stream.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const unsigned seed = in.byte() + 1u;
    const std::size_t maxPiece = 1 + in.byte() % 64;
    const Bytes stream = in.rest();

    const Scan whole = scan(stream, seed, 0);
    const Scan cut = scan(stream, seed, maxPiece);
    // How the line cut the bytes must not change what the unit makes of them.
    if (cut.frames != whole.frames) fuzz::fail("frames depend on where the stream was cut");
    if (cut.malformed != whole.malformed) fuzz::fail("malformed count depends on the cuts");
    // Nothing waits that could not still become a frame.
    if (cut.mostPending >= sim::FrameScanner::MaxDataLength + FrameOverhead)
        fuzz::fail("scanner holds " + std::to_string(cut.mostPending) + " bytes");

    std::size_t from = 0;
    for (const Bytes& frame : whole.frames) {
        const std::size_t n = frame.size() >= FrameHeaderSize ? word(frame[9], frame[8]) : 0;
        if (frame.size() < FrameOverhead || frame[0] != StartMarker || frame[1] != StartMarker ||
            frame[2] != StartMarker || (frame[4] != KindWrite && frame[4] != KindRequest) ||
            n > sim::FrameScanner::MaxDataLength || frame.size() != n + FrameOverhead ||
            frame.back() != EndMarker)
            fuzz::fail("a frame that cannot be one was passed on");
        // Frames come from the stream, in order, without overlapping.
        const auto at = std::search(stream.begin() + std::ptrdiff_t(from), stream.end(),
                                    frame.begin(), frame.end());
        if (at == stream.end()) fuzz::fail("a frame that is not in the stream");
        from = std::size_t(at - stream.begin()) + frame.size();
    }
    // A stream of good frames is taken whole, none lost, nothing called malformed.
    if (!stream.empty() && fuzz::outboundFault(stream).empty()) {
        Bytes joined;
        for (const Bytes& frame : whole.frames)
            joined.insert(joined.end(), frame.begin(), frame.end());
        if (joined != stream || whole.malformed != 0) fuzz::fail("good frames were lost");
    }

    // Whatever the unit is sent, its own replies stay well formed.
    sim::SimUnit unit;
    Bytes replies;
    for (const Bytes& frame : whole.frames)
        for (const Bytes& reply : unit.receiveFrame(frame))
            replies.insert(replies.end(), reply.begin(), reply.end());
    const std::string fault = fuzz::frameStreamFault(replies, fuzz::UnitFrames);
    if (!fault.empty()) fuzz::fail("the unit replied with a malformed frame: " + fault);
    return 0;
}
