// The engine's view on a console: progress on standard error, everything else remembered.
#pragma once

#include "protocol/SessionView.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace m7410 {

// The front end's view of the unit on a console. Progress goes to the error stream, as a bar
// that redraws itself on a terminal and as "NN%" lines elsewhere (a log keeps every step
// readable). Everything else the window would show is the unit API's to report.
class ConsoleView : public SessionView {
public:
    ConsoleView(std::ostream& err, bool terminal) : err(err), terminal(terminal) {}

    // Ends a progress bar left open by an exchange that never hid it.
    void finishProgress();

    void showProgress(int percent) override;
    void setProgress(int percent) override;
    void hideProgress() override;
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
    void draw(int percent);

    std::ostream& err;
    bool terminal;
    bool shown = false;
    int lastPercent = -1;
};

} // namespace m7410
