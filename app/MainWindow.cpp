#include "app/MainWindow.h"

#include "app/ChannelModeLayout.h"
#include "app/DisconnectedForm.h"
#include "app/FileBox.h"
#include "app/GlobalHotkey.h"
#include "app/LinkPictures.h"
#include "app/MemoryMenuDialog.h"
#include "app/PresetControls.h"
#include "app/ProgressBox.h"
#include "app/QtDialogs.h"
#include "app/ReachableFocus.h"
#include "app/TopGroup.h"
#include "app/TrafficLogView.h"
#include "app/WindowLock.h"
#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "link/ConnectionAssembly.h"
#include "link/HidapiBackend.h"
#include "link/TrafficLog.h"
#include "panels/ChannelGroup.h"
#include "panels/DelayPage.h"
#include "panels/EqEditor.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GainPage.h"
#include "panels/GraphPicture.h"
#include "panels/LimiterPage.h"
#include "panels/MarkerEditor.h"
#include "panels/PageSwitcher.h"
#include "panels/PanelColours.h"
#include "protocol/Session.h"
#include "response/ResponseGraph.h"
#include "settings/PasswordBox.h"
#include "settings/PersonalLock.h"
#include "settings/PersonalSettingsBox.h"
#include "settings/SettingsFile.h"
#include "support/RealClock.h"
#include "app/WindowOwner.h"
#include "unit/Unit.h"
#include "unit/UnitLink.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>

#include <algorithm>

namespace m7410 {

namespace {

constexpr int AreaLeft = 7;
// Wait slice of the HID read threads.
constexpr int DevThreadSleepTime = 250;
constexpr int ChannelGroupTop = 98;
constexpr int FileBoxLeft = 611;
constexpr QPoint ProgressAtStart{208, 504};
constexpr QPoint ProgressForExchanges{208, 232};
// The "0 dB" sequence shows its progress over the EQ page's graph.
constexpr int ZeroDbProgressLeft = 208;
constexpr int ZeroDbProgressBelowEqTop = 280;
// Beyond the window's width the design area keeps the boxes that show only when the window
// is maximised on a wide screen.
constexpr QPoint DeviceMemoryAt{1099, 249};
constexpr QRect HistoryGeometry{760, 2, 330, 640};
constexpr int DesignWidth = 1240;
constexpr int DesignHeight = 760;
// What the window's area must show: up to the file box and the EQ page, both ending at 735.
constexpr int ContentWidth = 740;
constexpr int ContentMargin = 4;
constexpr int TitleBarAllowance = 32;

const QString AboutText = QStringLiteral("API for version M7410_8.1.1.H Build on 2016_05_21");

} // namespace

MainWindow::MainWindow(WindowOptions opts, QWidget* parent)
    : QMainWindow(parent), options(std::move(opts)),
      ownDialogs(options.dialogs == nullptr ? std::make_unique<QtDialogs>() : nullptr),
      dialogs(options.dialogs != nullptr ? *options.dialogs : *ownDialogs),
      ownClock(options.clock == nullptr ? std::make_unique<RealClock>() : nullptr),
      clock(options.clock != nullptr ? *options.clock : *ownClock),
      ownBackend(options.hidBackend == nullptr ? std::make_unique<HidapiBackend>() : nullptr),
      unit(std::make_unique<Unit>(clock)),
      engine(std::make_unique<ConnectionAssembly>(
          clock, *unit, options.hidBackend != nullptr ? *options.hidBackend : *ownBackend)),
      responseGraph(std::make_unique<ResponseGraph>(engine->session.model())) {
    unit->attach(linkOf(*engine));
    unit->setFrontView(this);
    if (options.serveUnit)
        owner = std::make_unique<WindowOwner>(*unit, clock, [this] { showOthersEdit(); });
    // Set before the first scan, which runs once events are processed.
    engine->hidctl.setDevThreadSleepTime(DevThreadSleepTime);
    if (!options.extraPorts.isEmpty()) engine->portList.setExtraPorts(options.extraPorts);
    buildMenus();
    buildDesignArea();
    startUp();
}

MainWindow::~MainWindow() {
    // The panels edit the session's model: they go first, while it is still there; then the
    // engine, which may still call the view while it winds down, before the rest of the window.
    delete takeCentralWidget();
    // The history listens to the session's builders.
    delete edits;
    edits = nullptr;
    responseGraph.reset();
    owner.reset();
    engine.reset();
    unit.reset();
}

Session& MainWindow::session() {
    return engine->session;
}

TrafficLog& MainWindow::trafficLog() {
    return engine->log;
}

void MainWindow::buildMenus() {
    fileMenu = menuBar()->addMenu(QStringLiteral("&file"));
    exit = fileMenu->addAction(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    aboutMenu = menuBar()->addMenu(QStringLiteral("&about"));
    about = aboutMenu->addAction(QStringLiteral("about"));
    connect(about, &QAction::triggered, this, &MainWindow::aboutClicked);
    // F10 opens the menu bar, as on other desktops' programs.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        for (QMenu* m : {fileMenu, aboutMenu}) {
            if (m->isEnabled()) {
                menuBar()->setActiveAction(m->menuAction());
                return;
            }
        }
    });
    status = new QLabel(QStringLiteral("Disconnect"));
    status->setMinimumWidth(200);
    status->setAccessibleDescription(tr("Status"));
    statusBar()->addWidget(status);
}

void MainWindow::buildDesignArea() {
    // A screen lower than the window scrolls the window's content rather than cutting it.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    client = new QWidget;
    scroll->setWidget(client);
    setCentralWidget(scroll);
    auto* area = new QWidget(client);
    area->resize(DesignWidth, DesignHeight);
    // Before the boxes are made: they take their fonts from the area.
    area->setFont(designFont());
    const PanelContext ctx{engine->session.model(), engine->session.builders(), edit};

    top = new TopGroup(area);
    rows = new ChannelGroup(ctx, area);
    files = new FileBox(area);
    eq = new EqPage(ctx, area);
    limiter = new LimiterPage(ctx, area);
    delay = new DelayPage(ctx, area);
    gain = new GainPage(ctx, area);
    settings =
        std::make_unique<SettingsFile>(options.programDir + QStringLiteral("/mysetting.ini"));
    settingsPanel = new PersonalSettingsBox(
        *settings, options.programDir + QStringLiteral("/logo.bmp"), dialogs, area);
    password = new PasswordBox(area);
    progress = new ProgressBox(area);

    deviceMemory = new QGroupBox(QStringLiteral("Device Memory"), area);
    deviceMemory->setGeometry(QRect(DeviceMemoryAt, QSize(130, 60)));
    memorySave = new QPushButton(QStringLiteral("save"), deviceMemory);
    memorySave->setGeometry(25, 24, 80, 26);
    connect(memorySave, &QPushButton::clicked, this, &MainWindow::deviceMemoryClicked);
    historyList = new TrafficLogView(engine->log, area);
    historyList->setGeometry(HistoryGeometry);
    lblUsbHid = new QLabel(QStringLiteral("接到回复数据时显示已连上"), area);
    lblUsbHid->hide();

    disconnected = new DisconnectedForm(this);
    memoryDialog = new MemoryMenuDialog(this);
    presets =
        new PresetControls(engine->session, *unit, *this, edit, *top, *files, *memoryDialog, this);

    pageSwitcher = new PageSwitcher(edit, *rows, *eq, *limiter, *delay, *gain, this);
    lock = new PersonalLock(*password, *settingsPanel, dialogs, this);
    pageSwitcher->hideOverlays = [this] { lock->hideBoxes(); };
    pageSwitcher->drawEqPage = [this](int channel) {
        responseGraph->openPage(channel);
        showGraph();
    };
    lock->closeCurrentPage = [this] { pageSwitcher->closeCurrentPage(); };
    eqEditor = new EqEditor(ctx, *eq, *responseGraph, this);
    eqEditor->beginZeroDb = [this] { return beginZeroDb(); };
    markerEditor = new MarkerEditor(ctx, *eq, *responseGraph, *eqEditor, this);
    edits = new EditMenu({*this, engine->session, edit, *rows, *eq, *gain, *delay, *limiter,
                          *responseGraph, dialogs, [this] { showGraph(); }},
                         aboutMenu, this);

    // The serial port list is never shown, so PortListPanel has nothing to enable.
    windowLock = std::make_unique<WindowLock>(
        *progress,
        std::vector<std::pair<unsigned, QWidget*>>{{ChannelPanel, rows},
                                                   {EqPanel, eq},
                                                   {ConnectionPanel, top},
                                                   {FilePanel, files},
                                                   {DeviceMemoryPanel, deviceMemory}},
        std::vector<QMenu*>{fileMenu, aboutMenu});

    // The outcome (a refusal's message, the start-up) shows through the window's view.
    connect(top->connectButton(), &QPushButton::clicked, this, [this] {
        if (unit->connectOpens())
            unit->connect(Unit::AsWindow{}, [](UnitResult<UnitStatus>) {});
        else
            unit->disconnect(Unit::AsWindow{}, [](UnitResult<Done>) {});
    });
    connect(top->saveList(), &QComboBox::activated, this, &MainWindow::saveListChanged);
}

void MainWindow::startUp() {
    // Settings: caption, mode, row captions, version, logo. An absent row key keeps the row's
    // default caption; its field in the settings box stays empty.
    const PersonalSettings values = settings->read();
    setWindowTitle(values.name);
    mode = values.channelMode;
    settingsPanel->load(values);
    applyChannelMode(mode);
    const std::pair<const char*, int> captionKeys[] = {{SettingsKey::MainChannel, MainChannelIndex},
                                                       {SettingsKey::OutputOne, 2},
                                                       {SettingsKey::OutputTwo, 0},
                                                       {SettingsKey::OutputThree, 1}};
    for (auto [key, channel] : captionKeys) {
        if (const std::optional<QString> caption = settings->text(key))
            rows->setRowCaption(channel, *caption);
    }
    settingsPanel->setLogo(options.logo);

    hotkey = new GlobalHotkey(this, options.systemHotkey);
    connect(hotkey, &GlobalHotkey::activated, lock, &PersonalLock::hotkeyPressed);

    responseGraph->buildGridBitmap(GraphPicture::GraphWidth, GraphPicture::GraphHeight);

    progress->move(ProgressAtStart);
    top->move(AreaLeft, 2);
    rows->move(AreaLeft, ChannelGroupTop);
    showGraph();
    top->linkIndicator()->setPixmap(QPixmap::fromImage(linkPicture(false)));
    shownLink = false;
    rows->showModel();
    resize(WindowWidth, height());
    new ReachableFocus(*client, {memorySave, historyList}, this);
    historyList->followResizesOf(*client);
    fitToScreen(screen()->availableGeometry());
}

void MainWindow::applyChannelMode(int channelMode) {
    const ChannelModeLayout l = ChannelModeLayout::of(channelMode);
    rows->resize(ChannelGroup::Width, l.groupHeight);
    for (QWidget* w : {static_cast<QWidget*>(eq), static_cast<QWidget*>(settingsPanel),
                       static_cast<QWidget*>(password)})
        w->move(AreaLeft, l.eqTop);
    files->move(FileBoxLeft, l.fileBoxTop);
    designHeight = l.windowHeight;
    resize(WindowWidth, l.windowHeight);
    int bottom = 0;
    for (QWidget* w : {static_cast<QWidget*>(rows), static_cast<QWidget*>(files),
                       static_cast<QWidget*>(eq), static_cast<QWidget*>(settingsPanel)})
        bottom = std::max(bottom, w->geometry().bottom() + 1);
    client->setMinimumSize(ContentWidth, bottom + ContentMargin);
}

void MainWindow::fitToScreen(const QRect& available) {
    // Decorations are known once the window manager framed the window; until then a title bar
    // of the usual height is assumed.
    const QSize frame = frameGeometry().size() - geometry().size();
    const int decorations = frame.height() > 0 ? frame.height() : TitleBarAllowance;
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    // The design's size, or more when a large desktop font makes the menu and status bars taller.
    int h = std::max(designHeight, client->minimumHeight() + chrome);
    int w = WindowWidth;
    if (h + decorations > available.height()) {
        h = available.height() - decorations;
        w += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    resize(std::min(w, available.width() - frame.width()), h);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!fitted && !isMaximized() && !isFullScreen()) {
        fitted = true;
        fitToScreen(screen()->availableGeometry());
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes the open page, or the password or settings box.
    if (event->key() == Qt::Key_Escape &&
        (edit.currentPage != NoPage || password->isVisible() || settingsPanel->isVisible())) {
        pageSwitcher->closeCurrentPage();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool MainWindow::beginZeroDb() {
    Session& s = engine->session;
    if (s.linkOpen() == 0) return false;
    windowLock->showProgress({ZeroDbProgressLeft, eq->y() + ZeroDbProgressBelowEqTop}, 0);
    windowLock->setPanelsEnabled(EditingPanels, false);
    // The send step counts the six band messages and unlocks after the last.
    s.scheduler().beginBandProgress(edit.currentChannel);
    return true;
}

void MainWindow::showGraph() {
    eq->graph()->setPicture(responseGraph->picture());
}

void MainWindow::aboutClicked() {
    dialogs.message(this, AboutText);
}

void MainWindow::saveListChanged(int index) {
    presets->device().saveListChanged(index);
}

void MainWindow::deviceMemoryClicked() {
    if (presets->device().memoryMenuAvailable()) memoryDialog->open();
}

// --- SessionView

void MainWindow::showProgress(int percent) {
    windowLock->showProgress(ProgressForExchanges, percent);
}

void MainWindow::setProgress(int percent) {
    windowLock->setPercent(percent);
}

void MainWindow::hideProgress() {
    windowLock->hideProgress();
}

void MainWindow::setPanelsEnabled(unsigned panels, bool enabled) {
    windowLock->setPanelsEnabled(panels, enabled);
    if (edits != nullptr) edits->update();
}

void MainWindow::closeCurrentPage() {
    pageSwitcher->closeCurrentPage();
}

void MainWindow::showMessage(const std::string& text) {
    dialogs.message(this, QString::fromStdString(text));
}

void MainWindow::showDisconnected() {
    disconnected->showCentred();
}

void MainWindow::hideDisconnected() {
    disconnected->hide();
}

std::optional<std::string> MainWindow::askSaveFileName(PresetFileKind kind) {
    const bool one = kind == PresetFileKind::OneGroup;
    // The filters name the file kind only: every file is offered, none gets an extension.
    const QString file = dialogs.saveFileName(
        this, one ? QStringLiteral("M_7410") : QStringLiteral("20M_7410"),
        one ? QStringLiteral("M_7410File (*)") : QStringLiteral("20M_7410File (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

std::optional<std::string> MainWindow::askOpenFileName(PresetFileKind kind) {
    const QString file = dialogs.openFileName(this, kind == PresetFileKind::OneGroup
                                                        ? QStringLiteral("M_7410File (*)")
                                                        : QStringLiteral("20M_7410File (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

void MainWindow::setConnectCaption(const std::string& caption) {
    top->setConnectCaption(QString::fromStdString(caption));
}

void MainWindow::setConnectEnabled(bool enabled) {
    top->connectButton()->setEnabled(enabled);
}

void MainWindow::setStatusText(const std::string& text) {
    status->setText(QString::fromStdString(text));
}

void MainWindow::setLinkIndicator(bool linkOpen) {
    // Asked every second; drawing the same picture again would only wake the display.
    if (shownLink == linkOpen) return;
    shownLink = linkOpen;
    top->linkIndicator()->setPixmap(QPixmap::fromImage(linkPicture(linkOpen)));
}

void MainWindow::setUsbLabel(const std::string& text) {
    lblUsbHid->setText(QString::fromStdString(text));
}

void MainWindow::hidePersonalPanels() {
    lock->hideBoxes();
}

void MainWindow::setBassOn(bool on) {
    rows->setBassOn(on);
}

void MainWindow::setCurrentPresetNumber(int number) {
    top->presetNumber()->setText(QString::number(number));
}

void MainWindow::setCurrentPresetName(const std::string& name) {
    top->presetNameField()->setText(QString::fromLatin1(name));
}

void MainWindow::setLoadList(const std::vector<std::string>& entries) {
    top->setLoadList(entries);
}

void MainWindow::selectFirstPreset() {
    top->selectFirstPreset();
    saveListChanged(0);
}

void MainWindow::setLoadListEntry(int slot, const std::string& text) {
    top->setLoadListEntry(slot, text);
}

void MainWindow::setNameField(const std::string& name) {
    top->nameField()->setText(QString::fromLatin1(name));
}

void MainWindow::setPolarity(int channel, bool inverted) {
    if (channel >= 0 && channel < ChannelCount) rows->showPolarity(channel, inverted);
}

void MainWindow::setMuteColour(int channel, bool soundOn) {
    if (channel >= 0 && channel < OutputChannelCount) rows->showMute(channel, soundOn);
}

void MainWindow::setVolume(int position) {
    rows->showVolume(position);
}

void MainWindow::refreshBand(int band) {
    responseGraph->refreshBand(band);
    showGraph();
}

void MainWindow::computeHighPass(int channel, int type) {
    responseGraph->computeHighPass(channel, type);
    showGraph();
}

void MainWindow::computeLowPass(int channel, int type) {
    responseGraph->computeLowPass(channel, type);
    showGraph();
}

void MainWindow::parameterSetReplaced() {
    // The steps belong to a set that no longer exists on the unit.
    if (edits == nullptr) return;
    edits->history().restart();
    edits->update();
}

void MainWindow::showOthersEdit() {
    const Session& s = engine->session;
    for (int c = 0; c < ChannelCount; ++c) {
        setPolarity(c, s.model().phaseInvert(c) != 0);
        for (int row = 0; row < EqRowsPerChannel; ++row)
            refreshBand(bandAddress(c, row));
        computeHighPass(c, s.model().crossover(c).hpf.type);
        computeLowPass(c, s.model().crossover(c).lpf.type);
    }
    for (int c = 0; c < OutputChannelCount; ++c)
        setMuteColour(c, s.model().outputs[c].outputOn != 0);
    setVolume(s.model().main.volume);
    rows->showModel();
    if (edit.currentPage != NoPage) pageSwitcher->openPage(edit.currentPage, edit.currentChannel);
    showGraph();
    parameterSetReplaced();
}

} // namespace m7410
