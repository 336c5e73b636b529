// The channel rows of the window, with their page buttons, mute, polarity and volume.
#pragma once

#include "panels/PanelContext.h"

#include <QGroupBox>

#include <array>
#include <vector>

class QLabel;
class QPushButton;
class QSlider;

namespace m7410 {

class ColourButton;

// The channel rows: Main on top, then the outputs in the order 2, 0, 1. The page buttons ask
// for pages; Mute, polarity and the master volume edit the model here and queue at once.
class ChannelGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit ChannelGroup(PanelContext context, QWidget* parent = nullptr);

    // Up to the file box at the right, so the volume value has room past the slider.
    static constexpr int Width = 604;
    static constexpr int FullHeight = 134;
    static constexpr int ButtonHeight = 23;
    // Top of a channel's row inside the group.
    static int rowTop(int channel);

    // The button of a page on a channel's row, or nullptr when the row has no such page.
    ColourButton* pageButton(int page, int channel) const;
    ColourButton* muteButton(int channel) const { return mutes.at(channel); }
    QPushButton* polarityButton(int channel) const { return polarities.at(channel); }
    ColourButton* bassButton() const { return bass; }
    QSlider* volumeSlider() const { return volume; }
    QLabel* volumeLabel() const { return volumeValue; }
    QLabel* rowCaption(int channel) const { return captions.at(channel); }

    void setRowCaption(int channel, const QString& caption);
    void setBassOn(bool on);
    // Shows the model's mute states, polarities and master volume, e.g. after a set arrived.
    void showModel();
    void showMute(int channel, bool soundOn);
    void showPolarity(int channel, bool inverted);
    // Moves the volume slider (limited to its range) without taking it for an edit.
    void showVolume(int position);

    void toggleMute(int channel);
    void togglePolarity(int channel);
    void volumeChanged(int value);

signals:
    void pageRequested(int page, int channel);

protected:
    // A shorter group cuts off the lower rows. Their channels stay in the model, but their
    // buttons go too, so Tab cannot reach a Mute nobody can see.
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<QWidget*> rowWidgets(int channel) const;
    ColourButton* addPageButton(const QString& text, int page, int channel, int left, int width);
    void buildMainRow();
    void buildOutputRow(int channel);
    void showVolumeText(int value);
    void fitVolumeFont();
    void showPolarityCaption(int channel, int32_t phaseInvert);
    void nameRowControls(int channel);

    PanelContext ctx;
    std::array<QLabel*, ChannelCount> captions{};
    std::array<ColourButton*, ChannelCount> eqButtons{};
    std::array<ColourButton*, ChannelCount> delayButtons{};
    std::array<ColourButton*, OutputChannelCount> gainButtons{};
    std::array<ColourButton*, OutputChannelCount> limiterButtons{};
    std::array<ColourButton*, OutputChannelCount> mutes{};
    std::array<QPushButton*, ChannelCount> polarities{};
    ColourButton* bass = nullptr;
    QSlider* volume = nullptr;
    QLabel* volumeValue = nullptr;
};

} // namespace m7410
