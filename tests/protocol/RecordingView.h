// A SessionView that remembers what the window would show.
#pragma once

#include "protocol/SessionView.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace m7410::test {

// A SessionView that remembers what the window would show, and a log of the calls that
// matter for ordering.
class RecordingView : public SessionView {
public:
    bool progressShown = false;
    int progress = 0;
    unsigned disabled = 0; // ViewPanel bits currently disabled
    int pagesClosed = 0;
    std::vector<std::string> messages;
    bool disconnectedShown = false;
    int disconnectedCount = 0;
    std::vector<PresetFileKind> saveDialogs;
    std::optional<std::string> savePath; // what the save dialog answers
    std::vector<PresetFileKind> openDialogs;
    std::optional<std::string> openPath; // what the open dialog answers
    std::string nameField;
    std::string caption = "Disconnect";
    bool connectEnabled = true;
    std::string status = "Disconnect";
    bool indicator = false;
    std::string usbLabel;
    int personalPanelsHidden = 0;
    std::optional<bool> bassOn;
    int presetNumber = 1;
    std::string presetName;
    std::vector<std::string> loadList;
    int firstPresetSelected = 0;
    std::array<std::optional<bool>, 4> polarity{};
    std::array<std::optional<bool>, 3> soundOn{};
    std::optional<int> volume;
    std::vector<int> bandsRefreshed;
    std::vector<std::pair<int, int>> highPass, lowPass; // (channel, type)

    void showProgress(int percent) override {
        progressShown = true;
        progress = percent;
    }
    void setProgress(int percent) override { progress = percent; }
    void hideProgress() override { progressShown = false; }
    void setPanelsEnabled(unsigned panels, bool enabled) override {
        disabled = enabled ? disabled & ~panels : disabled | panels;
    }
    void closeCurrentPage() override { ++pagesClosed; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showDisconnected() override {
        disconnectedShown = true;
        ++disconnectedCount;
    }
    void hideDisconnected() override { disconnectedShown = false; }
    std::optional<std::string> askSaveFileName(PresetFileKind kind) override {
        saveDialogs.push_back(kind);
        return savePath;
    }
    std::optional<std::string> askOpenFileName(PresetFileKind kind) override {
        openDialogs.push_back(kind);
        return openPath;
    }
    void setConnectCaption(const std::string& text) override { caption = text; }
    void setConnectEnabled(bool enabled) override { connectEnabled = enabled; }
    void setStatusText(const std::string& text) override { status = text; }
    void setLinkIndicator(bool linkOpen) override { indicator = linkOpen; }
    void setUsbLabel(const std::string& text) override { usbLabel = text; }
    void hidePersonalPanels() override { ++personalPanelsHidden; }
    void setBassOn(bool on) override { bassOn = on; }
    void setCurrentPresetNumber(int number) override { presetNumber = number; }
    void setCurrentPresetName(const std::string& name) override { presetName = name; }
    void setLoadList(const std::vector<std::string>& entries) override { loadList = entries; }
    void selectFirstPreset() override { ++firstPresetSelected; }
    void setLoadListEntry(int slot, const std::string& text) override {
        if (slot >= 1 && slot <= static_cast<int>(loadList.size())) loadList[slot - 1] = text;
    }
    void setNameField(const std::string& name) override { nameField = name; }
    void setPolarity(int channel, bool inverted) override { polarity.at(channel) = inverted; }
    void setMuteColour(int channel, bool on) override { soundOn.at(channel) = on; }
    void setVolume(int position) override { volume = position; }
    void refreshBand(int band) override { bandsRefreshed.push_back(band); }
    void computeHighPass(int channel, int type) override { highPass.emplace_back(channel, type); }
    void computeLowPass(int channel, int type) override { lowPass.emplace_back(channel, type); }
};

} // namespace m7410::test
