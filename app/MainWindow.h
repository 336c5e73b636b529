// The main window: it owns the engine and every panel, wires them together and is the session's
// view.
#pragma once

#include "panels/EditState.h"
#include "protocol/SessionView.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <optional>

class QLabel;
class QListView;
class QGroupBox;
class QPushButton;

namespace m7410 {

class ChannelGroup;
class Clock;
class Connection;
class ConnectionAssembly;
class Unit;
class WindowOwner;
class DelayPage;
class DisconnectedForm;
class EditMenu;
class EqEditor;
class EqPage;
class FileBox;
class GainPage;
class GlobalHotkey;
class HidBackend;
class LimiterPage;
class MarkerEditor;
class MemoryMenuDialog;
class PageSwitcher;
class PasswordBox;
class PersonalLock;
class PersonalSettingsBox;
class PresetControls;
class ProgressBox;
class ResponseGraph;
class Session;
class SettingsFile;
class TopGroup;
class TrafficLog;
class TrafficLogView;
class UserDialogs;
class WindowLock;

struct WindowOptions {
    // Where "mysetting.ini" and "logo.bmp" live: the program's folder.
    QString programDir;
    // The logo read at program entry; null when it could not be read.
    QImage logo;
    // Protocol timing; the real clock when null.
    Clock* clock = nullptr;
    // Message boxes and file dialogs; the real ones when null.
    UserDialogs* dialogs = nullptr;
    // Grab Ctrl+I on the whole desktop (X11); otherwise only in this program's windows.
    bool systemHotkey = true;
    // Paths added at the end of the serial port list.
    QStringList extraPorts;
    // The HID devices to look at; this machine's (hidapi) when null.
    HidBackend* hidBackend = nullptr;
    // Serve the unit to this user's other programs while the link is open.
    bool serveUnit = false;
};

// The one window: it owns the session, the link, the response graph and every panel, runs
// the start-up steps and shows what the session reports.
class MainWindow : public QMainWindow, public SessionView {
    Q_OBJECT
public:
    static constexpr int WindowWidth = 750;

    explicit MainWindow(WindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's parts that tests drive often; the ones they only look at now and then they
    // read through their fixture's WindowProbe.
    Session& session();
    // The unit API over this window's engine, for serving the unit to other programs.
    Unit& unitApi() { return *unit; }
    TrafficLog& trafficLog();
    PageSwitcher& pages() { return *pageSwitcher; }
    ResponseGraph& graph() { return *responseGraph; }

    ChannelGroup* channelGroup() const { return rows; }
    EqPage* eqPage() const { return eq; }
    GainPage* gainPage() const { return gain; }
    DelayPage* delayPage() const { return delay; }
    LimiterPage* limiterPage() const { return limiter; }
    TopGroup* topGroup() const { return top; }
    FileBox* fileBox() const { return files; }
    PasswordBox* passwordBox() const { return password; }
    PersonalSettingsBox* settingsBox() const { return settingsPanel; }
    MemoryMenuDialog* memoryMenu() const { return memoryDialog; }
    EditMenu& editMenu() const { return *edits; }

    // SessionView
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
    void refreshBand(int band) override;
    void computeHighPass(int channel, int type) override;
    void computeLowPass(int channel, int type) override;
    void parameterSetReplaced() override;

    // Full size when the screen has room; otherwise as high as the screen allows, the content
    // scrolling so every control stays reachable.
    void fitToScreen(const QRect& available);

    void aboutClicked();
    void saveListChanged(int index);
    void deviceMemoryClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The tests' fixture reads the window's less used parts without a getter for each.
    friend struct WindowProbe;

private:
    void buildMenus();
    void buildDesignArea();
    void startUp();
    void applyChannelMode(int channelMode);
    bool beginZeroDb();
    void showGraph();
    // Another program changed the unit through this window's link: every control, the graph
    // and the open page show the model again, and the history starts anew (it does not undo
    // someone else's edit).
    void showOthersEdit();

    WindowOptions options;
    std::unique_ptr<UserDialogs> ownDialogs;
    UserDialogs& dialogs;
    std::unique_ptr<Clock> ownClock;
    Clock& clock;
    std::unique_ptr<HidBackend> ownBackend;
    // The engine reports to the unit, which hands every call on to this window: what the
    // window does is seen by every other front end of the unit too.
    std::unique_ptr<Unit> unit;
    std::unique_ptr<ConnectionAssembly> engine;
    std::unique_ptr<WindowOwner> owner;
    EditState edit;
    std::unique_ptr<ResponseGraph> responseGraph;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<WindowLock> windowLock;
    int mode = 0;
    int designHeight = 0;
    bool fitted = false;
    std::optional<bool> shownLink; // the link indicator's picture

    QWidget* client = nullptr;
    QPushButton* memorySave = nullptr;
    TopGroup* top = nullptr;
    ChannelGroup* rows = nullptr;
    FileBox* files = nullptr;
    EqPage* eq = nullptr;
    LimiterPage* limiter = nullptr;
    DelayPage* delay = nullptr;
    GainPage* gain = nullptr;
    ProgressBox* progress = nullptr;
    PasswordBox* password = nullptr;
    PersonalSettingsBox* settingsPanel = nullptr;
    QGroupBox* deviceMemory = nullptr;
    TrafficLogView* historyList = nullptr;
    QLabel* lblUsbHid = nullptr;
    QLabel* status = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* aboutMenu = nullptr;
    QAction* exit = nullptr;
    QAction* about = nullptr;
    DisconnectedForm* disconnected = nullptr;
    MemoryMenuDialog* memoryDialog = nullptr;
    PresetControls* presets = nullptr;
    PageSwitcher* pageSwitcher = nullptr;
    EqEditor* eqEditor = nullptr;
    MarkerEditor* markerEditor = nullptr;
    PersonalLock* lock = nullptr;
    GlobalHotkey* hotkey = nullptr;
    EditMenu* edits = nullptr;
};

} // namespace m7410
