#include "ReceiveFeeder.h"

#include "protocol/ParameterBlock.h"

#include <random>

namespace m7410 {
namespace {

// Replies of every kind, whole, cut short or corrupted, with garbage between them, cut into
// the batches the feeder reads: a size byte, then that many bytes plus one.
std::vector<uint8_t> noisyStream(std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    const uint8_t codes[] = {CodeStatus,       CodeSystemRecord, 0,
                             CodeCurrentBlock, CodePresetBlock,  CodeNames};
    const std::size_t sizes[] = {8, 8, 0, 320, 320, 400};
    std::vector<uint8_t> stream;
    for (int pieces = 1 + byte(rng) % 12; pieces > 0; --pieces) {
        const int k = byte(rng) % 6;
        std::vector<uint8_t> data(sizes[k]);
        for (uint8_t& d : data)
            d = static_cast<uint8_t>(byte(rng));
        const uint8_t kind = data.empty() ? KindAck : KindReply;
        Bytes frame = buildFrame(0, kind, 0, codes[k], 0, data.data(), data.size());
        if (byte(rng) % 6 == 0) frame.resize(static_cast<std::size_t>(byte(rng)) % frame.size());
        if (!frame.empty() && byte(rng) % 6 == 0)
            frame[static_cast<std::size_t>(byte(rng)) % frame.size()] ^= 0xFF;
        for (int g = byte(rng) % 8 == 0 ? 1 + byte(rng) % 3 : 0; g > 0; --g)
            stream.push_back(static_cast<uint8_t>(byte(rng)));
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    std::vector<uint8_t> out{static_cast<uint8_t>(byte(rng))};
    for (std::size_t pos = 0; pos < stream.size();) {
        const std::size_t batch = std::min<std::size_t>(1 + byte(rng) % 97, stream.size() - pos);
        out.push_back(static_cast<uint8_t>(batch - 1));
        out.insert(out.end(), stream.begin() + static_cast<long>(pos),
                   stream.begin() + static_cast<long>(pos + batch));
        pos += batch;
    }
    return out;
}

// The fuzz target's body on a fixed set of seeds, so every test run covers it.
TEST(ReceivedNoise, AnyStreamLeavesTheSessionSound) {
    std::mt19937 rng(7410);
    for (int run = 0; run < 2000; ++run) {
        const std::vector<uint8_t> input = noisyStream(rng);
        ASSERT_EQ(fuzz::receivedFault(input.data(), input.size()), "") << "run " << run;
    }
}

} // namespace
} // namespace m7410
