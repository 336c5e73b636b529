#pragma once

#include <cstdint>

namespace m7410 {

class Session;

// The paced sequences that are not a single edit: reading all 20 presets, writing all 20
// presets, the confirmation of a store, the recall time-out and the link indicator.
class TimedExchanges {
public:
    // The unit answers a block read well within its start-up allowance; without a reply a
    // one-group save must not leave polling and sending stopped for good.
    static constexpr int SaveOneReplyTimeoutMs = 2000;

    explicit TimedExchanges(Session& session);

    // Starts the 20-preset read: one request every 700 ms, 16 s for all replies. The caller
    // has locked the window, stopped polling and emptied the receive text and the collection.
    void startPresetRead();
    // Starts the 20-preset write of the 20 lines in the collection, one preset a second. The
    // caller has checked the lines and locked the window.
    void startPresetWrite();
    // Starts the wait for the block a one-group save asked for; the exchange that asked has
    // just taken the link. A new wait replaces an earlier one, and the block ends it.
    void startSaveOneWait();

    void onPresetReadStep();    // one preset read request
    void onPresetReadTimeout(); // the 20-preset read timed out
    void onPresetWriteStep();   // one preset written
    void onStoreConfirmation(); // a store was acknowledged
    void onLinkIndicator();     // link indicator
    void onRecallTimeout();     // a recall timed out
    // No block came for a one-group save.
    void onSaveOneTimeout();

private:
    Session& s;
    uint32_t saveOneExchange = 0;
};

} // namespace m7410
