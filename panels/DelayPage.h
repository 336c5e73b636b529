// The Delay page of a channel: delay in ms, metres and feet, and its slider.
#pragma once

#include "panels/PageFrame.h"
#include "panels/PanelContext.h"

class QLabel;
class QSlider;

namespace m7410 {

class FilteredField;

// The Delay page of any channel: the delay in ms (display only), in metres and in feet, and the
// slider that sets it.
class DelayPage : public PageFrame {
    Q_OBJECT
public:
    explicit DelayPage(PanelContext context, QWidget* parent = nullptr);

    // Sets the slider's range and position for the channel without taking it for an edit.
    void fill(int channel);

    FilteredField* delayField() const { return field; }
    QLabel* metresLabel() const { return metres; }
    QLabel* feetLabel() const { return feet; }
    QSlider* slider() const { return delaySlider; }

    void sliderChanged(int position);

private:
    void showTexts(int32_t steps);

    PanelContext ctx;
    FilteredField* field;
    QLabel* metres;
    QLabel* feet;
    QSlider* delaySlider;
};

} // namespace m7410
