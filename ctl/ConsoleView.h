// The engine's view on a console: progress on standard error, everything else remembered.
#pragma once

#include "protocol/SessionView.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace m7410 {

// Stands in for the window. Progress goes to the error stream, as a bar that redraws itself
// on a terminal and as "NN%" lines elsewhere (a log keeps every step readable). Message boxes,
// the disconnection window and the file dialogs become what the commands check and report;
// the counters tell a command that a reply it waits for has arrived.
class ConsoleView : public SessionView {
public:
    ConsoleView(std::ostream& err, bool terminal) : err(err), terminal(terminal) {}

    // What the file dialogs answer; nothing is a cancelled dialog.
    std::optional<std::string> savePath;
    std::optional<std::string> openPath;

    std::vector<std::string> messages;
    int disconnectedShown = 0;
    int saveDialogs = 0;
    int openDialogs = 0;
    int nameLists = 0;     // names replies
    int systemRecords = 0; // current preset number replies
    int statusReplies = 0;
    bool bassOn = false;
    int presetNumber = 1;
    // No progress shown: a single parameter's message is sent in a moment.
    bool quiet = false;
    // An exchange holds the window (its panels are disabled).
    bool locked() const { return (disabled & UnlockedPanels) != 0; }
    // Ends a progress bar left open by an exchange that never hid it.
    void finishProgress();

    void showProgress(int percent) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    void setPanelsEnabled(unsigned panels, bool enabled) override;
    void closeCurrentPage() override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showDisconnected() override { ++disconnectedShown; }
    void hideDisconnected() override {}
    std::optional<std::string> askSaveFileName(PresetFileKind kind) override;
    std::optional<std::string> askOpenFileName(PresetFileKind kind) override;
    void setConnectCaption(const std::string&) override {}
    void setConnectEnabled(bool) override {}
    void setStatusText(const std::string&) override {}
    void setLinkIndicator(bool) override {}
    void setUsbLabel(const std::string&) override {}
    void hidePersonalPanels() override {}
    void setBassOn(bool on) override;
    void setCurrentPresetNumber(int number) override;
    void setCurrentPresetName(const std::string&) override {}
    void setLoadList(const std::vector<std::string>&) override { ++nameLists; }
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
    unsigned disabled = 0;
};

} // namespace m7410
