// A LinkPort that records every write and can pass it on.
#pragma once

#include "protocol/LinkPort.h"
#include "support/Clock.h"
#include "support/HexText.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace m7410::test {

// A LinkPort that records every write with its time and transport, and can pass the bytes on
// (to a simulated unit, for example).
class FakeLink : public LinkPort {
public:
    struct Sent {
        int64_t atMs;
        bool hid;
        std::string hex;
    };

    explicit FakeLink(const Clock& clock) : clock(clock) {}

    bool hidActive = false;
    std::vector<Sent> sent;
    int assemblyResets = 0;
    std::function<void(const uint8_t*, std::size_t)> forward;

    bool isHidActive() const override { return hidActive; }
    void sendHidFrame(const uint8_t* f, std::size_t n) override { record(true, f, n); }
    void sendHidBlock(const uint8_t* f, std::size_t n) override { record(true, f, n); }
    void writeSerial(const uint8_t* f, std::size_t n) override { record(false, f, n); }
    void resetHidAssembly() override { ++assemblyResets; }

    // The sent frames whose hex text starts with prefix.
    std::vector<Sent> matching(const std::string& prefix) const {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.hex.rfind(prefix, 0) == 0) out.push_back(s);
        return out;
    }

    // When each frame starting with prefix was sent.
    std::vector<int64_t> timesOf(const std::string& prefix) const {
        std::vector<int64_t> out;
        for (const Sent& s : matching(prefix))
            out.push_back(s.atMs);
        return out;
    }

private:
    void record(bool hid, const uint8_t* f, std::size_t n) {
        sent.push_back({clock.nowMs(), hid, toHex(f, n)});
        if (forward) forward(f, n);
    }
    const Clock& clock;
};

} // namespace m7410::test
