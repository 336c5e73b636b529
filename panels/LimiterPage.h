// The Limiter page of an output channel: threshold, attack and release.
#pragma once

#include "panels/PageFrame.h"
#include "panels/PanelContext.h"

class QComboBox;

namespace m7410 {

// The Limiter page of an output channel: threshold, attack and release lists. A choice stores
// the entry's index and queues the channel's limiter message.
class LimiterPage : public PageFrame {
    Q_OBJECT
public:
    explicit LimiterPage(PanelContext context, QWidget* parent = nullptr);

    void fill(int channel);

    QComboBox* thresholdList() const { return threshold; }
    QComboBox* attackList() const { return attack; }
    QComboBox* releaseList() const { return release; }

    void thresholdChosen(int index);
    void attackChosen(int index);
    void releaseChosen(int index);

private:
    Limiter* currentLimiter();
    void chosen(int32_t Limiter::*field, int index, int count);

    PanelContext ctx;
    QComboBox* threshold;
    QComboBox* attack;
    QComboBox* release;
};

} // namespace m7410
