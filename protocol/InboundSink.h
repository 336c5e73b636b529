// Where the receive paths put what arrived, before the dispatcher runs.
#pragma once

#include <string>

namespace m7410 {

// Where the receive paths put what arrived: the HID reassembly replaces the receive text with
// one whole message, the serial path appends each batch; then the dispatcher runs.
class InboundSink {
public:
    virtual ~InboundSink() = default;
    virtual std::string& receiveText() = 0;
    virtual void ProcessReceived() = 0;
};

} // namespace m7410
