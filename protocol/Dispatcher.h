#pragma once

#include <cstddef>
#include <string_view>

namespace m7410 {

class Session;

// Everything the unit sends passes through ProcessReceived: it recognises the reply at the
// head of the receive text by fixed character positions and its length, applies it, starts
// the follow-up of the exchange under way and removes the handled frame. An incomplete frame
// stays for the next call; several complete frames in one batch are all handled.
class Dispatcher {
public:
    explicit Dispatcher(Session& session);

    void ProcessReceived();
    // The receive text holds the first part of a names reply and no more.
    bool namesReplyIncomplete() const;

private:
    // One pass over the head of the receive text; true when something left it.
    bool dispatchHead();
    // The reply tests in their order; true when a handler that ends the pass ran.
    bool handleHead();
    bool headIs(std::size_t firstChar, std::string_view text) const;
    int dataByte(std::size_t n) const;
    void drop(std::size_t chars);

    void statusReply();
    void systemRecord();
    void storeAcknowledgement();
    void presetBlock();
    void currentBlock();
    void presetNames();

    Session& s;
};

} // namespace m7410
