// The engine's view on a console: a progress bar on standard error, everything else the unit's.
#pragma once

#include "ctl/ProgressMeter.h"
#include "protocol/SessionView.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace m7410 {

// The front end's view of the unit on a console. The engine's own percentages count requests
// sent and time passed, which is not what a person waiting wants to know, so they are not
// shown: a command that moves presets says what to count (track), and the waits draw it.
// Only on a terminal, and not with --quiet: in a pipe or a log a bar is noise.
class ConsoleView : public SessionView {
public:
    ConsoleView(std::ostream& err, bool terminal) : meter(err, terminal) {}

    void setQuiet(bool quiet);
    // A bar of count() out of total, drawn by tick() until finishProgress.
    void track(const std::string& what, int total, std::function<int()> count);
    void tick();
    // Wipes the bar, before a result or an error is printed.
    void finishProgress();

    void showProgress(int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    void setPanelsEnabled(unsigned, bool) override {}
    void closeCurrentPage() override {}
    void showMessage(const std::string&) override {}
    void showDisconnected() override {}
    void hideDisconnected() override {}
    std::optional<std::string> askSaveFileName(PresetFileKind) override { return std::nullopt; }
    std::optional<std::string> askOpenFileName(PresetFileKind) override { return std::nullopt; }
    void setConnectCaption(const std::string&) override {}
    void setConnectEnabled(bool) override {}
    void setStatusText(const std::string&) override {}
    void setLinkIndicator(bool) override {}
    void setUsbLabel(const std::string&) override {}
    void hidePersonalPanels() override {}
    void setBassOn(bool) override {}
    void setCurrentPresetNumber(int) override {}
    void setCurrentPresetName(const std::string&) override {}
    void setLoadList(const std::vector<std::string>&) override {}
    void selectFirstPreset() override {}
    void setPolarity(int, bool) override {}
    void setMuteColour(int, bool) override {}
    void setVolume(int) override {}
    void refreshBand(int) override {}
    void computeHighPass(int, int) override {}
    void computeLowPass(int, int) override {}

private:
    ProgressMeter meter;
    bool quiet = false;
    std::function<int()> count;
};

} // namespace m7410
