// Reading a whole parameter block into the model and showing it.
#pragma once

#include "protocol/ParameterBlock.h"

namespace m7410 {

class Session;

// Reads a whole parameter block into the model (indexes limited to their tables) and shows
// it: the set's name, polarity, mute and volume controls and every response curve. Leaves
// currentChannel at 3 and currentBand at 23, as the curve loop ends there. Builds no message.
void applyBlockToSession(Session& s, const BlockData& block);

} // namespace m7410
