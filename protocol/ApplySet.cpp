#include "protocol/ApplySet.h"

#include "protocol/Session.h"
#include "protocol/SessionView.h"

namespace m7410 {

void applyBlockToSession(Session& s, const BlockData& block) {
    decodeBlock(block, s.model());
    s.currentPresetName() = blockName(block);
    s.view().setCurrentPresetName(s.currentPresetName());

    for (int c = 0; c < ChannelCount; ++c)
        s.view().setPolarity(c, s.model().phaseInvert(c) != 0);
    for (int c = 0; c < OutputChannelCount; ++c)
        s.view().setMuteColour(c, s.model().outputs[c].outputOn != 0);
    s.view().setVolume(s.model().main.volume);

    for (int c = 0; c < ChannelCount; ++c) {
        s.currentChannel() = c;
        for (int row = 0; row < EqRowsPerChannel; ++row) {
            s.currentBand() = bandAddress(c, row);
            s.view().refreshBand(s.currentBand());
        }
        const Crossover& x = s.model().crossover(c);
        s.view().computeHighPass(c, x.hpf.type);
        s.view().computeLowPass(c, x.lpf.type);
    }
    s.view().parameterSetReplaced();
}

} // namespace m7410
