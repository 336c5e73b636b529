#pragma once

#include "SessionChecks.h"
#include "protocol/SessionFixture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace m7410::fuzz {

// Feeds arbitrary bytes to the dispatcher the way the serial path does: in batches, as
// upper-case hex, with the exchange flags the first byte chooses and time passing between
// batches. Returns why the session ended in a state no input may cause, empty when it is sound.
inline std::string receivedFault(const uint8_t* data, std::size_t size) {
    if (size < 2) return {};
    test::SessionRig rig;
    Session& s = rig.s;
    const uint8_t flags = data[0];
    s.linkOpen() = flags & 1;
    s.savingOneToFile() = (flags >> 1) & 1;
    s.savingAllToFile() = (flags >> 2) & 1;
    s.recallPending() = (flags >> 3) & 1;
    s.storeAckPending() = (flags >> 4) & 1;
    rig.view.savePath = std::nullopt;

    std::size_t pos = 1;
    while (pos < size) {
        const std::size_t batch = std::min<std::size_t>(1 + data[pos] % 97, size - pos - 1);
        ++pos;
        if (batch == 0) break;
        s.receiveText() += toHex(data + pos, batch);
        s.ProcessReceived();
        if (std::string text = receiveTextFault(s); !text.empty()) return text;
        rig.clock.advance(data[pos - 1] % 60);
        pos += batch;
    }
    // Long enough for every exchange the replies started to send what it sends.
    rig.clock.advance(3000);
    return sessionFault(s, rig.link);
}

} // namespace m7410::fuzz
