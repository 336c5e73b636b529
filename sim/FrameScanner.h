// Cutting a byte stream into frames as a strict receiver must.
#pragma once

#include "protocol/Frame.h"

#include <functional>
#include <string_view>

namespace m7410::sim {

// Cuts a byte stream into frames the way a strict receiver must: it waits for a frame to be
// complete, and after anything that cannot be a frame it resynchronises on the next start
// marker without losing a good frame that follows.
class FrameScanner {
public:
    // The largest data length the application sends (a block write).
    static constexpr std::size_t MaxDataLength = 320;

    std::function<void(const Bytes& frame)> onFrame;
    std::function<void(const Bytes& bytes, std::string_view why)> onMalformed;

    void feed(const uint8_t* bytes, std::size_t size);
    // Gives up on a frame that stopped arriving halfway.
    void discardPartial();
    std::size_t pending() const { return buffer.size(); }

private:
    bool scanOnce();
    void reject(std::string_view why);
    void dropStray(std::size_t count);

    Bytes buffer;
    // Set from unusable bytes to the next good frame: one bad stretch counts once.
    bool resyncing = false;
};

} // namespace m7410::sim
