// The simulated unit's protocol core: its state, the frames it takes and the replies it gives.
#pragma once

#include "protocol/Frame.h"
#include "protocol/ParameterBlock.h"
#include "sim/FactorySets.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace m7410::sim {

// The processor's protocol core, independent of how bytes reach it: it checks every frame,
// applies writes to its state and produces the replies. The faces (HID, byte stream) cut the
// traffic into frames and schedule the replies on a clock.
class SimUnit {
public:
    // Misbehaviour on demand, for tests of the application's time-outs and recovery.
    struct Faults {
        bool silent = false;     // requests are handled but never answered
        bool answerNames = true; // false: the names request goes unanswered
        int latencyMs = 5;       // from the end of a request to the start of its reply
        // Reply code (0 for the store acknowledgement) -> how many of the next such replies to
        // drop.
        std::map<uint8_t, int> drop;
        // Preset slot (1..20) whose block writes are stored with one parameter changed, as a
        // failing memory cell would; 0 for none.
        int corruptPresetWrite = 0;
    };

    static constexpr uint8_t DeviceNumber = 0;
    static constexpr uint8_t StatusBassOff = 0;
    static constexpr uint8_t StatusBassOn = 1;

    SimUnit();

    // One candidate frame as a face cut it from the traffic. Returns the replies, whole frames
    // in the order they go out; a malformed frame is counted and gets none.
    std::vector<Bytes> receiveFrame(const uint8_t* frame, std::size_t size);
    std::vector<Bytes> receiveFrame(const Bytes& frame) {
        return receiveFrame(frame.data(), frame.size());
    }
    // A face found traffic that cannot be a frame (stray bytes, a broken report).
    void noteMalformed(std::string_view why, const uint8_t* bytes, std::size_t size);

    const BlockData& currentSet() const { return current; }
    void setCurrentSet(const BlockData& block) { current = block; }
    const BlockData& preset(int n) const; // n = 1..20
    void setPreset(int n, const BlockData& block);
    std::string presetName(int n) const;
    std::string currentName() const { return blockName(current); }
    int currentPresetNumber() const { return presetNumber; }
    void setCurrentPresetNumber(int n) { presetNumber = n; }
    // The status reply's first data byte: 1 = "Bass +" on, 0 = off; other values are possible.
    bool bassOn() const { return statusByte == StatusBassOn; }
    void setBassOn(bool on) { statusByte = on ? StatusBassOn : StatusBassOff; }
    void setStatusByte(uint8_t value) { statusByte = value; }

    // Valid frames received with this kind and code.
    int framesReceived(uint8_t kind, uint8_t code) const;
    int framesReceived() const { return validFrames; }
    int malformedFrames() const { return malformed; }
    const std::string& lastMalformedReason() const { return lastReason; }
    // Every valid frame received, in order, so tests can check what the application sent.
    const std::vector<Bytes>& receivedLog() const { return log; }
    int repliesSent(uint8_t code) const;

    Faults& faults() { return faultSettings; }
    const Faults& faults() const { return faultSettings; }

    // Observers, for the command-line program's traffic log.
    std::function<void(const Bytes& frame)> onFrameReceived;
    std::function<void(const Bytes& bytes, std::string_view why)> onMalformed;
    std::function<void(const Bytes& frame)> onReplySent;

private:
    // Empty when the frame is acceptable, else why not.
    std::string check(const uint8_t* f, std::size_t size) const;
    std::vector<Bytes> handle(const uint8_t* f, std::size_t size);
    void storeName(int slot, const uint8_t* name);
    Bytes reply(uint8_t argument, uint8_t code, const uint8_t* data, std::size_t size) const;
    Bytes namesReply() const;
    bool keepReply(uint8_t code);

    BlockData current;
    PresetSlots presetSlots;
    int presetNumber = 1;
    uint8_t statusByte = StatusBassOff;
    Faults faultSettings;
    int validFrames = 0;
    int malformed = 0;
    std::string lastReason;
    std::map<int, int> received;
    std::map<uint8_t, int> replies;
    std::vector<Bytes> log;
};

} // namespace m7410::sim
