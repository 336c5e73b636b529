#include "protocol/MessageBuilders.h"

#include "protocol/Frame.h"

#include <algorithm>

namespace m7410 {

MessageBuilders::MessageBuilders(const ChannelModel& model, PreparedFrames& frames,
                                 PendingRaiser& pending, const int32_t& linkOpen,
                                 const uint8_t& deviceNumber)
    : model(model), frames(frames), pending(pending), linkOpen(linkOpen),
      deviceNumber(deviceNumber) {}

void MessageBuilders::QueueBasicMessage(int channel) {
    if (channel >= 0 && channel < OutputChannelCount) queue(basicGroup(channel));
}

void MessageBuilders::QueueCrossoverMessage(int channel) {
    if (channel >= 0 && channel < ChannelCount) queue(crossoverGroup(channel));
}

void MessageBuilders::QueueLimiterMessage(int channel) {
    if (channel >= 0 && channel < OutputChannelCount) queue(limiterGroup(channel));
}

void MessageBuilders::QueueEqBandMessage(int band) {
    if (band >= 0 && band < EqBandCount) queue(eqBandGroup(band));
}

void MessageBuilders::QueueMainBasicMessage() {
    queue(basicGroup(MainChannelIndex));
}

void MessageBuilders::queue(const ParameterGroup& group) {
    if (called) called();
    if (linkOpen == 0) return;
    const GroupAddress a = addressOf(group);
    const GroupBytes data = encodeGroup(model, group);
    const Bytes f =
        buildFrame(deviceNumber, KindWrite, 0, a.code, a.subCode, data.data(), data.size());
    std::copy(f.begin(), f.end(), frames.frame(a.pendingMessage).begin());
    pending.RaisePending(a.pendingMessage);
}

} // namespace m7410
