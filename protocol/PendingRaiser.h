// Marking an outbound message as waiting for the send scheduler.
#pragma once

namespace m7410 {

// Marks an outbound message as waiting for the send scheduler. Slots are numbered 1..50.
class PendingRaiser {
public:
    virtual ~PendingRaiser() = default;
    virtual void RaisePending(int message) = 0;
};

inline constexpr int PendingSlotCount = 50;
inline constexpr int SystemRecordPending = 37;

} // namespace m7410
