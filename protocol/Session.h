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
    void ProcessReceived() override { dispatcher_.ProcessReceived(); }
    // PendingRaiser: message builders and exchanges queue a slot for the scheduler.
    void RaisePending(int message) override { scheduler_.RaisePending(message); }

    Clock& clock() const { return clock_; }
    SessionView& view() const { return view_; }
    LinkPort& link() const { return link_; }

    // --- unit state mirrored here
    ChannelModel& model() { return model_; }
    const ChannelModel& model() const { return model_; }
    PreparedFrames& frames() { return frames_; }
    uint8_t& deviceNumber() { return deviceNumber_; }
    // Non-zero while a link is open; the serial transport and the port list share it.
    int32_t& linkOpen() { return linkOpen_; }
    int32_t linkOpen() const { return linkOpen_; }
    int32_t& currentPresetNumber() { return currentPresetNumber_; }
    int32_t currentPresetNumber() const { return currentPresetNumber_; }
    std::array<std::string, 20>& presetNames() { return presetNames_; }
    const std::array<std::string, 20>& presetNames() const { return presetNames_; }
    std::string& currentPresetName() { return currentPresetName_; }
    const std::string& currentPresetName() const { return currentPresetName_; }
    // The window's editing position; a received set leaves it at channel 3, band 23.
    int& currentChannel() { return currentChannel_; }
    int& currentBand() { return currentBand_; }

    // --- outbound
    // Slots 1..50; 1 = pending.
    std::array<int32_t, PendingSlotCount + 1>& pending() { return pending_; }
    int32_t& sendingMessage() { return sendingMessage_; }

    // --- the exchange in progress
    // A one-group save waits for the unit's current block.
    bool& savingOneToFile() { return savingOneToFile_; }
    // A 20-preset read collects the unit's presets for a file.
    bool& savingAllToFile() { return savingAllToFile_; }
    bool& recallPending() { return recallPending_; }
    bool recallPending() const { return recallPending_; }
    bool& storeAckPending() { return storeAckPending_; }
    int32_t& groupsRequested() { return groupsRequested_; }
    int32_t& groupsCollected() { return groupsCollected_; }
    int32_t& groupsSent() { return groupsSent_; }
    int32_t groupsSent() const { return groupsSent_; }
    // The "0 dB" progress: counting, and how many of its band messages went out.
    bool& bandProgressActive() { return bandProgressActive_; }
    int32_t& bandProgressSteps() { return bandProgressSteps_; }
    // Goes up each time endExchanges runs (a link closed or opened): an exchange that pauses
    // compares it afterwards (ExchangeGuard), so it never carries on against another link or
    // a closed one.
    uint32_t exchangeEpoch() const { return exchangeEpoch_; }
    // Goes up each time an exchange takes the link (holdForExchange): a time-out of an earlier
    // exchange leaves polling to the one that followed it.
    uint32_t& exchangesStarted() { return exchangesStarted_; }
    // Set while the names reply asked for after a 20-preset write is awaited: the first poll
    // keeps a part of it already received instead of emptying the receive text under it.
    bool& namesReplyDue() { return namesReplyDue_; }
    bool namesReplyDue() const { return namesReplyDue_; }
    // Lines for and from preset files: 664-character block frame texts.
    std::vector<std::string>& collection() { return collection_; }
    const std::vector<std::string>& collection() const { return collection_; }
    std::string& blockText() { return blockText_; }
    const std::string& blockText() const { return blockText_; }

    // --- protocol timers (handlers stop their own timer where the exchange is one-shot, so a
    // handler that returns early keeps it armed)
    Timer& tick() { return *tick_; }                     // 10 ms, the scheduler's tick
    Timer& statusPoll() { return *statusPoll_; }         // 500 ms
    Timer& afterSendPause() { return *afterSendPause_; } // 300 ms
    Timer& sendStep() { return *sendStep_; }             // 200 ms, the paced send step
    Timer& pollTimeout() { return *pollTimeout_; }       // 2000 ms
    const Timer& pollTimeout() const { return *pollTimeout_; }
    Timer& startUpTimeout() { return *startUpTimeout_; }       // 800 ms: any reply at all
    Timer& blockReadTimeout() { return *blockReadTimeout_; }   // 1500 ms: the current block
    Timer& namesReadTimeout() { return *namesReadTimeout_; }   // 2500 ms: the names
    Timer& presetReadStep() { return *presetReadStep_; }       // 700 ms, 20-preset read requests
    Timer& presetReadTimeout() { return *presetReadTimeout_; } // 16000 ms
    Timer& presetWriteStep() { return *presetWriteStep_; }     // 1000 ms, 20-preset write
    Timer& storeConfirmation() { return *storeConfirmation_; } // 10 ms
    Timer& linkIndicator() { return *linkIndicator_; }         // 1000 ms, runs from start-up
    Timer& recallTimeout() { return *recallTimeout_; }         // 10000 ms
    Timer& saveOneTimeout() { return *saveOneTimeout_; }       // 2000 ms, one shot

    SendScheduler& scheduler() { return scheduler_; }
    Dispatcher& dispatcher() { return dispatcher_; }
    TimedExchanges& exchanges() { return exchanges_; }
    MessageBuilders& builders() { return builders_; }

    // Stops every timer of a timed exchange and forgets its flags; used when the link closes,
    // so a transfer cut short does not go on or time out against a closed link.
    void endExchanges();
    // Takes the control panels and menus from the user while an exchange runs.
    void lockWindow();
    // Hides the progress box and gives back the control panels and menus an exchange locked.
    void unlockWindow();

private:
    void watchExpired(void (LinkWatch::*handler)(), Timer& timer);

    Clock& clock_;
    SessionView& view_;
    LinkPort& link_;
    ChannelModel model_;
    PreparedFrames frames_;
    uint8_t deviceNumber_ = 0;
    int32_t linkOpen_ = 0;
    int32_t currentPresetNumber_ = 1;
    std::array<std::string, 20> presetNames_;
    std::string currentPresetName_;
    int currentChannel_ = 0;
    int currentBand_ = 0;
    std::array<int32_t, PendingSlotCount + 1> pending_{};
    int32_t sendingMessage_ = 0;
    bool savingOneToFile_ = false;
    bool savingAllToFile_ = false;
    bool recallPending_ = false;
    bool storeAckPending_ = false;
    int32_t groupsRequested_ = 0;
    int32_t groupsCollected_ = 0;
    int32_t groupsSent_ = 0;
    bool bandProgressActive_ = false;
    int32_t bandProgressSteps_ = 0;
    uint32_t exchangeEpoch_ = 0;
    uint32_t exchangesStarted_ = 0;
    bool namesReplyDue_ = false;
    std::vector<std::string> collection_;
    std::string blockText_;
    std::unique_ptr<Timer> tick_;
    std::unique_ptr<Timer> statusPoll_;
    std::unique_ptr<Timer> afterSendPause_;
    std::unique_ptr<Timer> sendStep_;
    std::unique_ptr<Timer> pollTimeout_;
    std::unique_ptr<Timer> startUpTimeout_;
    std::unique_ptr<Timer> blockReadTimeout_;
    std::unique_ptr<Timer> namesReadTimeout_;
    std::unique_ptr<Timer> presetReadStep_;
    std::unique_ptr<Timer> presetReadTimeout_;
    std::unique_ptr<Timer> presetWriteStep_;
    std::unique_ptr<Timer> storeConfirmation_;
    std::unique_ptr<Timer> linkIndicator_;
    std::unique_ptr<Timer> recallTimeout_;
    std::unique_ptr<Timer> saveOneTimeout_;
    SendScheduler scheduler_;
    Dispatcher dispatcher_;
    TimedExchanges exchanges_;
    MessageBuilders builders_;
    std::string received;
    LinkWatch* linkWatch = nullptr;
};

// Whether the exchange that was current when the guard was made still is: a pause inside an
// exchange (PumpWait, a dialog) may see the link close or reopen, after which the exchange
// must not carry on.
class ExchangeGuard {
public:
    explicit ExchangeGuard(const Session& session) : s(&session), epoch(session.exchangeEpoch()) {}
    bool stillCurrent() const { return s->exchangeEpoch() == epoch; }
    bool ended() const { return !stillCurrent(); }

private:
    const Session* s;
    uint32_t epoch;
};

} // namespace m7410
