// What every editing control works on: the parameter set, the message builders, the editing state.
#pragma once

#include "model/ChannelModel.h"
#include "panels/EditState.h"
#include "protocol/MessageBuilders.h"

namespace m7410 {

// What every editing control works on: the parameter set, the builders that queue its
// messages, and the shared editing state.
struct PanelContext {
    ChannelModel& model;
    MessageBuilders& builders;
    EditState& edit;
};

} // namespace m7410
