// Working out one undo step from the parameter set before and after it: its name, merge id and
// messages.
#pragma once

#include "model/ChannelModel.h"

#include <QString>

#include <functional>

namespace m7410 {

class MessageBuilders;

// What one undo step changed, worked out by comparing the parameter set before and after it.
namespace EditStep {

// The caption of a channel, "High", "Main".
using ChannelNames = std::function<QString(int channel)>;

// "High EQ 3 gain", "Low mute", "Main volume"; empty when nothing differs.
QString name(const ChannelModel& before, const ChannelModel& after, const ChannelNames& names);

// Steps with the same id merge while one drag lasts: one id per band, crossover filter and
// single control; -1 for steps that change more than one of them.
int mergeId(const ChannelModel& before, const ChannelModel& after);

// Queues the message of every parameter group that differs, as the edits themselves do.
void queueChanges(const ChannelModel& before, const ChannelModel& after, MessageBuilders& builders);

} // namespace EditStep

} // namespace m7410
