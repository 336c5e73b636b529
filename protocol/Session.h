// The state every protocol handler shares, and the handlers themselves; owned by the engine.
#pragma once

#include "model/ChannelModel.h"
#include "protocol/Dispatcher.h"
#include "protocol/InboundSink.h"
#include "protocol/MessageBuilders.h"
#include "protocol/PendingRaiser.h"
#include "protocol/PreparedFrames.h"
#include "protocol/SendScheduler.h"
#include "protocol/TimedExchanges.h"
#include "support/Clock.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace m7410 {

class LinkPort;
class LinkWatch;
class SessionView;

// The state every handler of the window shares: the model, the prepared frames, the pending
// slots, the receive text, the mode flags, the link flag and the protocol timers, together
// with the handlers that work on them (scheduler, dispatcher, timed exchanges). It never
// touches a widget: what the window shows goes through the SessionView.
//
// Everything runs on one thread (the window's); handlers may nest inside PumpWait and inside
// modal dialogs of the view, never concurrently.
class Session : public InboundSink, public PendingRaiser {
public:
    Session(Clock& clock, SessionView& view, LinkPort& link);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The connection lifecycle that reacts to the link time-outs (none: they only stop).
    void setLinkWatch(LinkWatch* watch) { linkWatch = watch; }

    // InboundSink: the receive paths put bytes here as upper-case hex and call the dispatcher.
    std::string& receiveText() override { return received; }
    void ProcessReceived() override { dispatcher.ProcessReceived(); }
    // PendingRaiser: message builders and exchanges queue a slot for the scheduler.
    void RaisePending(int message) override { scheduler.RaisePending(message); }

    Clock& clock;
    SessionView& view;
    LinkPort& link;

    // --- unit state mirrored here
    ChannelModel model;
    PreparedFrames frames;
    uint8_t deviceNumber = 0;
    int32_t linkOpen = 0;
    int32_t currentPresetNumber = 1;
    std::array<std::string, 20> presetNames;
    std::string currentPresetName;
    // The window's editing position; a received set leaves it at channel 3, band 23.
    int currentChannel = 0;
    int currentBand = 0;

    // --- outbound
    std::array<int32_t, PendingSlotCount + 1> pending{}; // slots 1..50; 1 = pending
    int32_t sendingMessage = 0;

    // --- exchange state and mode flags (1 = set)
    int32_t saveOneToFilePending = 0;
    int32_t saveAllToFilePending = 0;
    int32_t recallPending = 0;
    int32_t saveAckPending = 0;
    int32_t groupsRequested = 0;
    int32_t groupsCollected = 0;
    int32_t groupsSent = 0;
    int32_t progressStepsActive = 0;
    int32_t progressSteps = 0;
    // Goes up each time endExchanges runs (a link closed or opened): an exchange that pauses
    // compares it afterwards, so it never carries on against another link or a closed one.
    uint32_t exchangeEpoch = 0;
    // Goes up each time an exchange takes the link (holdForExchange): a time-out of an earlier
    // exchange leaves polling to the one that followed it.
    uint32_t exchangesStarted = 0;
    // Set while the names reply asked for after a 20-preset write is awaited: the first poll
    // keeps a part of it already received instead of emptying the receive text under it.
    int32_t namesReplyDue = 0;
    // Lines for and from preset files: 664-character block frame texts.
    std::vector<std::string> collection;
    std::string blockText;

    // --- protocol timers (intervals in ms; handlers stop their own timer where the exchange
    // is one-shot, so a handler that returns early keeps it armed)
    std::unique_ptr<Timer> sendTimer; // 10, scheduler tick
    std::unique_ptr<Timer> Timer1;    // 500, status poll
    std::unique_ptr<Timer> Timer4;    // 300, pause after a send
    std::unique_ptr<Timer> Timer7;    // 200, paced send step
    std::unique_ptr<Timer> intimer;   // 2000, poll time-out
    std::unique_ptr<Timer> chcon;     // 800, start-up: any message
    std::unique_ptr<Timer> chcon112;  // 1500, start-up: current block
    std::unique_ptr<Timer> chcon188;  // 2500, start-up: names
    std::unique_ptr<Timer> Timer8;    // 700, 20-preset read requests
    std::unique_ptr<Timer> Timer9;    // 16000, 20-preset read time-out
    std::unique_ptr<Timer> Timer10;   // 1000, 20-preset write
    std::unique_ptr<Timer> Timer11;   // 10, store confirmation
    std::unique_ptr<Timer> Timer13;   // 1000, link indicator (runs from start-up)
    std::unique_ptr<Timer> Timer22;   // 10000, recall time-out

    // 2000, one shot: the one-group save's wait for its block
    std::unique_ptr<Timer> saveOneTimer;

    SendScheduler scheduler;
    Dispatcher dispatcher;
    TimedExchanges exchanges;
    MessageBuilders builders;

    // Stops every timer of a timed exchange and forgets its flags; used when the link closes,
    // so a transfer cut short does not go on or time out against a closed link.
    void endExchanges();
    // Takes the control panels and menus from the user while an exchange runs.
    void lockWindow();
    // Hides the progress box and gives back the control panels and menus an exchange locked.
    void unlockWindow();

private:
    void watchExpired(void (LinkWatch::*handler)(), Timer& timer);

    std::string received;
    LinkWatch* linkWatch = nullptr;
};

} // namespace m7410
