// One unit behind the engine, with typed asynchronous operations and notifications: the one
// door through which every front end (window, command line, local server) works on a unit.
#pragma once

#include "eqtext/FilterImport.h"
#include "protocol/SessionView.h"
#include "unit/ParameterPaths.h"
#include "unit/UnitAccess.h"
#include "unit/UnitEvents.h"
#include "unit/UnitLink.h"
#include "unit/UnitResult.h"
#include "unit/UnitStatus.h"
#include "unit/UnitWait.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace m7410 {

class Clock;
class DevicePresets;
class PresetFiles;
struct ChannelModel;

// The engine reports to the Unit as its view; the Unit keeps what it learns, hands every call
// on to the front end's own view when there is one (the window's dialogs, the console's
// progress bar), and completes the pending operation from it. One operation runs at a time;
// another one started meanwhile fails with Busy at once. File paths come in as arguments: the
// engine's file dialogs are answered with them.
class Unit : public SessionView, public UnitAccess {
public:
    // The start-up's own time-outs (names within 2500 ms), then the system record within the
    // poll time-out.
    static constexpr int StartUpLimitMs = 2500 + 2000 + 500;

    // The engine is made with this Unit as its view, then attached.
    explicit Unit(Clock& clock);
    ~Unit() override;
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;
    void attach(UnitLink link);

    // The front end's view, or none; it sees every call the engine makes.
    void setFrontView(SessionView* view) { front = view; }

    int subscribe(UnitListener listener) override;
    void unsubscribe(int id) override;

    bool isConnected() const override;
    bool isBusy() const { return busy; }
    // What is known now, without asking the unit.
    UnitStatus status() const override;
    // The unit's parameters as last sent or received.
    const ChannelModel& model() const override;
    // The parameters as the unit has them from this program's frames and its own sets: an
    // edit still queued is not in it yet.
    const ChannelModel& reportedModel() const { return *reported; }
    // The serial port a connect tries (the last of the list); empty when there is none.
    std::string serialPort() const override { return link->serialPort(); }
    // Which device the open link is on; nothing while no link is open.
    std::optional<UnitIdentity> identity() const;
    // Presets of the restore in progress, or of the last one, that have gone out whole
    // (0..20). Between two waits on the engine no preset is half sent: a block's header and
    // the block go out within one engine step.
    int presetsWritten() const override { return restoredPresets; }
    // Presets of the 20-preset read in progress that have arrived (0..20), for a progress bar
    // that shows what came rather than what was asked for.
    int presetsArrived() const override;

    void connect(UnitDone<UnitStatus> done) override;
    // Closes the link once the replies still due have come (bounded), so that the next program
    // starts on a quiet line.
    void disconnect(UnitDone<Done> done) override;
    // The status with "Bass +" known (the status poll answers it within a second).
    void readStatus(UnitDone<UnitStatus> done) override;
    void recall(int slot, UnitDone<UnitStatus> done) override;
    void store(int slot, const std::string& name, UnitDone<Done> done) override;
    // The current set to a one-group file; the set's name.
    void saveCurrent(const std::string& path, UnitDone<std::string> done) override;
    // A one-group file into the current set; the set's name.
    void loadCurrent(const std::string& path, UnitDone<std::string> done) override;
    // The 20 presets to a 20-group file; the records written.
    void backup(const std::string& path, UnitDone<std::vector<std::string>> done) override;
    // A 20-group file into the 20 presets, read back and compared when verify is set.
    void restore(const std::string& path, bool verify, UnitDone<RestoreReport> done) override;
    bool stopRestore() override;
    // The unit's 20 presets as records, without a file.
    void readPresets(UnitDone<std::vector<std::string>> done) override;
    // One parameter to a stored index (snapped by the catalogue); done once the unit took it.
    void setParameter(const ParameterPath& path, int32_t index, UnitDone<Done> done) override;
    // Several parameters sent as one change: each message goes out as soon as the pacing
    // allows, and one poll's answer afterwards confirms them all.
    void setParameters(const std::vector<std::pair<const ParameterPath*, int32_t>>& values,
                       UnitDone<Done> done) override;
    // A channel's six EQ bands as one change.
    void applyEq(int channel, const ChannelBands& bands, UnitDone<Done> done) override;

    // A window's own presses: each ends when the engine gives the window back, not once the
    // line is quiet for the next program, and a file's path is asked of the user at the moment
    // the engine needs it (a load before anything is read, a backup once the 20 presets are
    // in). A cancelled question ends the operation with Interrupted.
    using PathQuestion = std::function<std::optional<std::string>()>;
    struct AsWindow {
        PathQuestion ask;
    };
    // The connection button: connect opens the link and ends once the start-up request is out
    // (the window shows the start-up as it comes); disconnect closes at once. Each does
    // nothing when the button would do the other.
    void connect(AsWindow window, UnitDone<UnitStatus> done);
    void disconnect(AsWindow window, UnitDone<Done> done);
    // Whether the connection button opens the link now.
    bool connectOpens() const;
    void recall(int slot, AsWindow window, UnitDone<UnitStatus> done);
    void loadCurrent(AsWindow window, UnitDone<std::string> done);
    void backup(AsWindow window, UnitDone<std::vector<std::string>> done);
    void restore(AsWindow window, UnitDone<RestoreReport> done);

    void pumpWait(int ms) override;

    // SessionView: what the engine shows, learnt here and handed on.
    void showProgress(int percent) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    void setPanelsEnabled(unsigned panels, bool enabled) override;
    void closeCurrentPage() override;
    void showMessage(const std::string& text) override;
    void showDisconnected() override;
    void hideDisconnected() override;
    std::optional<std::string> askSaveFileName(PresetFileKind kind) override;
    std::optional<std::string> askOpenFileName(PresetFileKind kind) override;
    void presetFileRefused(FileRefusal why, const std::string& message) override;
    void presetFileNotSaved(const std::string& error) override;
    void presetFileSaved(const std::string& path) override;
    void storeConfirmed() override;
    void linkRefused(LinkRefusal why, const std::string& message) override;
    void setConnectCaption(const std::string& caption) override;
    void setConnectEnabled(bool enabled) override;
    void setStatusText(const std::string& text) override;
    void setLinkIndicator(bool linkOpen) override;
    void setUsbLabel(const std::string& text) override;
    void hidePersonalPanels() override;
    void setBassOn(bool on) override;
    void setCurrentPresetNumber(int number) override;
    void setCurrentPresetName(const std::string& name) override;
    void setLoadList(const std::vector<std::string>& entries) override;
    void selectFirstPreset() override;
    void setLoadListEntry(int slot, const std::string& text) override;
    void setNameField(const std::string& name) override;
    void setPolarity(int channel, bool inverted) override;
    void setMuteColour(int channel, bool soundOn) override;
    void setVolume(int position) override;
    void parameterSetReplaced() override;
    void refreshBand(int band) override;
    void computeHighPass(int channel, int type) override;
    void computeLowPass(int channel, int type) override;

private:
    // What the engine reported since an operation began.
    struct Outcome {
        std::optional<UnitError> error;
        bool saved = false;
        bool stored = false;
        int nameLists = 0;
        int systemRecords = 0;
        int statusReplies = 0;
        int statusAtNames = 0; // status replies when the last names reply came
        int saveDialogs = 0;
        bool cancelled = false; // the front end's user cancelled the path question
        bool lost = false;
    };

    // Takes the unit for one operation; false (and done called with Busy) when it is taken.
    template <class T> bool begin(UnitDone<T>& done);
    template <class T> void finish(UnitDone<T>& done, UnitResult<T> result);
    bool locked() const { return (disabled & UnlockedPanels) != 0; }
    void waitFor(std::function<bool()> reached, int limitMs, std::function<void(WaitEnd)> then);
    void notify(const std::function<void(UnitListener&)>& call);
    // Waits for the names reply that ends a 20-preset write and the status reply after it.
    void afterWrite(std::function<void()> then);
    void readBack(RestoreReport report, UnitDone<RestoreReport> done);
    void recallSlot(int slot, bool settle, UnitDone<UnitStatus> done);
    void loadOne(UnitDone<std::string>& done);
    void restoreFile(bool settle, bool verify, UnitDone<RestoreReport> done);
    std::optional<std::string> answer(std::optional<std::string>& path);
    // Ends a restore asked to stop, between two presets.
    void endStoppedRestore(UnitDone<RestoreReport>& done);
    // Sends the queued edits without a progress bar, then waits for the poll's answer.
    void sendEdits(const std::string& what, UnitDone<Done> done);
    Session& session() const { return link->session; }
    // A parameter frame went out: each value it changes is reported as this program's change
    // (the window's edits and the API's alike).
    void reportSent(const uint8_t* frame, std::size_t size);

    Clock& clock;
    std::optional<UnitLink> link;
    std::unique_ptr<DevicePresets> presets;
    std::unique_ptr<PresetFiles> files;
    SessionView* front = nullptr;
    std::map<int, UnitListener> listeners;
    int nextListener = 1;
    bool busy = false;
    bool announcedOpen = false;
    bool quietProgress = false;
    bool restoring = false;
    int restoredPresets = 0;
    bool restoreStop = false;
    bool readingPresets = false;
    Outcome seen;
    std::optional<bool> bass;
    // The model as last reported to listeners: a received set replaces it whole, each frame
    // sent its group.
    std::unique_ptr<ChannelModel> reported;
    unsigned disabled = 0;
    std::optional<std::string> savePath;
    std::optional<std::string> openPath;
    PathQuestion question;
    // What a file of the kind in hand holds, for the words of a refusal.
    std::string expected;
    // Last, so that its waits end before anything they would call.
    UnitWaits waits{clock};
};

template <class T> inline bool Unit::begin(UnitDone<T>& done) {
    if (busy) {
        done(UnitResult<T>::failure(UnitErrorKind::Busy, "the unit is busy with another exchange"));
        return false;
    }
    busy = true;
    seen = Outcome{};
    return true;
}

template <class T> inline void Unit::finish(UnitDone<T>& done, UnitResult<T> result) {
    busy = false;
    restoring = false;
    readingPresets = false;
    savePath.reset();
    openPath.reset();
    question = nullptr;
    expected.clear();
    UnitDone<T> call = std::move(done);
    call(std::move(result));
}

} // namespace m7410
