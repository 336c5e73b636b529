// Building each parameter group's frame from the model and queueing it.
#pragma once

#include "model/ChannelModel.h"
#include "protocol/ParameterGroup.h"
#include "protocol/PendingRaiser.h"
#include "protocol/PreparedFrames.h"

#include <cstdint>
#include <functional>

namespace m7410 {

// Turns the model's current state of one parameter group into its prepared frame and queues
// it. While the link is closed they do nothing, so applying a set never echoes it back.
class MessageBuilders {
public:
    MessageBuilders(const ChannelModel& model, PreparedFrames& frames, PendingRaiser& pending,
                    const int32_t& linkOpen, const uint8_t& deviceNumber);

    void QueueBasicMessage(int channel);     // outputs 0..2
    void QueueCrossoverMessage(int channel); // 0..3
    void QueueLimiterMessage(int channel);   // outputs 0..2
    void QueueEqBandMessage(int band);       // 0..23
    void QueueMainBasicMessage();

    // Told of every builder call, link open or not: the window's edit history listens here,
    // since every user edit ends in exactly one such call.
    std::function<void()> called;

private:
    void queue(const ParameterGroup& group);

    const ChannelModel& model;
    PreparedFrames& frames;
    PendingRaiser& pending;
    const int32_t& linkOpen;
    const uint8_t& deviceNumber;
};

} // namespace m7410
