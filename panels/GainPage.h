// The Gain page of an output channel: fader, gain text and spin buttons.
#pragma once

#include "panels/PageFrame.h"
#include "panels/PanelContext.h"

#include <array>

namespace m7410 {

class FilteredField;
class GainFader;
class SpinButtons;

// The Gain page of an output channel: the fader with its knob, the gain text and the spin
// buttons. Every change stores the gain index, redraws and queues the channel's basic message.
class GainPage : public PageFrame {
    Q_OBJECT
public:
    explicit GainPage(PanelContext context, QWidget* parent = nullptr);

    // Puts the knob where the channel's gain says and writes the gain text.
    void fill(int channel);

    // The knob's top row on the fader for an output channel (its left edge is always 73).
    int knobTop(int channel) const { return knobTops.at(channel); }

    FilteredField* gainField() const { return field; }
    SpinButtons* spinButtons() const { return spin; }
    GainFader* fader() const { return faderPicture; }

    void stepUp();
    void stepDown();
    // Several steps at once (Page Up, Page Down), stopping at the row's limits.
    void step(int steps);
    void commitTypedGain();
    void knobPress(QPoint pos);
    void knobMove(QPoint pos);
    void knobRelease();

private:
    bool editsOutput() const;
    // Knob and gain text of an output channel's stored gain.
    void showGain(int channel);
    void gainRefresh();
    void showValue(const QString& shown);

    PanelContext ctx;
    GainFader* faderPicture;
    FilteredField* field;
    SpinButtons* spin;
    std::array<int, 3> knobTops{62, 62, 62};
};

} // namespace m7410
