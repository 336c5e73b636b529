// The pending slots and the pacing of queued messages, and the status poll.
#pragma once

#include "protocol/Frame.h"
#include "protocol/ParameterBlock.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace m7410 {

class Session;

// The pending slots and the pacing of queued messages: a 10 ms tick hands the lowest raised
// slot to the send step, which sends it 200 ms later and pauses 300 ms; with nothing queued a
// status request goes out every 500 ms and arms the reply time-out. Also the one place that
// picks the transport for every frame the PC sends.
class SendScheduler {
public:
    explicit SendScheduler(Session& session);

    void RaisePending(int message); // 1..50; anything else is ignored
    void ClearAllPending();
    bool isPending(int message) const;

    // One whole frame on the link: a HID report while the unit is active on USB, else the
    // serial port (only while the link is open).
    void SendFrame(const uint8_t* frame, std::size_t size);
    void SendFrame(const Bytes& frame) { SendFrame(frame.data(), frame.size()); }
    // The header that announces a whole block for the current set or a preset slot.
    void SendBlockHeader(BlockTarget target);
    // The block image of session.blockText() to the current set or a preset slot; the block
    // header must have gone out just before. Starts Timer10 after presets 1..19.
    void SendParameterBlock(BlockTarget target);

    void onTick();           // scheduler tick
    void onAfterSendPause(); // end of the pause after a send
    void onStatusPoll();     // status poll
    void onSendStep();       // paced send step

    // The "0 dB" sequence of a channel: its progress box counts the sends of that channel's
    // six band messages and the window comes back after the last; other messages sent
    // meanwhile (a field committed as the button was pressed) do not count.
    void beginBandProgress(int channel);

    // Restart polling and the scheduler together, as every finished exchange does.
    void startPolling();
    // Stops the tick, the poll, its time-out and a send under way (nothing left armed).
    void stopAll();
    // Quiets the link for an exchange: stops the tick, the poll, its time-out and the pause
    // after a send (whose end would restart polling, and a poll empties the receive text under
    // a reply). A message whose send step is still armed is queued again rather than lost or
    // sent between a block header and its block. startPolling() resumes.
    void holdForExchange();
    // Forgets the queued parameter messages (not the system-record request): they carry
    // edits of a set the unit is replacing, and would overwrite the new set with them.
    void dropParameterMessages();
    // Before a store or a read of the unit's set: sends the queued edits at the usual pace
    // with the window locked behind the progress box, so the unit holds what the window
    // shows. Returns at once when nothing is queued. False when the link closed meanwhile
    // (the close ended the action and gave the window back).
    bool sendQueuedEdits();

    // Told of each parameter frame as it goes out: the unit API reports the values it carries
    // from here, whichever front end made the edit.
    std::function<void(const uint8_t* frame, std::size_t size)> parameterFrameSent;

private:
    // The tick, the poll and its time-out.
    void stopPolling();
    // Parameter messages raised or armed for sending.
    int queuedEdits() const;

    Session& s;
    uint64_t progressMessages = 0; // bit n: slot n counts for the "0 dB" progress
};

} // namespace m7410
