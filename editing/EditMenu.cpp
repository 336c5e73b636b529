#include "editing/EditMenu.h"

#include "editing/EditHistory.h"
#include "editing/EqFitDialog.h"
#include "editing/EqImportDialog.h"
#include "editing/MeasurementOverlay.h"
#include "eqtext/FilterTextParser.h"
#include "eqtext/FilterTextWriter.h"
#include "panels/ChannelGroup.h"
#include "panels/DelayPage.h"
#include "panels/EditState.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/UserDialogs.h"
#include "protocol/Session.h"
#include "response/ResponseGraph.h"
#include "support/AtomicFile.h"
#include "support/PlainFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace m7410 {

namespace {

const QKeySequence UndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence RedoKeys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                 QKeySequence(Qt::CTRL | Qt::Key_Y)};

bool isHistoryKey(const QKeyEvent* e) {
    const QKeySequence pressed(e->keyCombination());
    return pressed == UndoKey || pressed == RedoKeys[0] || pressed == RedoKeys[1];
}

// "Undo High EQ 3 gain" with its key in the menu's shortcut column.
QString itemText(const QString& verb, const QString& step, const QKeySequence& key) {
    const QString name = step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
    return name + QLatin1Char('\t') + key.toString(QKeySequence::NativeText);
}

const QString FilterFiles = QStringLiteral("EQ filter text (*.txt *.cfg);;All files (*)");
const QString MeasurementFiles =
    QStringLiteral("Measurement (*.txt *.frd *.csv);;All files (*)");

} // namespace

EditMenu::EditMenu(EditMenuParts parts, QMenu* before, QObject* parent)
    : QObject(parent), p(std::move(parts)),
      editHistory(std::make_unique<EditHistory>(p.session.model(), p.session.builders())) {
    editMenu = new QMenu(QStringLiteral("&edit"), &p.window);
    p.window.menuBar()->insertMenu(before->menuAction(), editMenu);
    undo = editMenu->addAction(QStringLiteral("Undo"));
    redo = editMenu->addAction(QStringLiteral("Redo"));
    connect(undo, &QAction::triggered, this, &EditMenu::undoStep);
    connect(redo, &QAction::triggered, this, &EditMenu::redoStep);
    editMenu->addSeparator();
    importFilters = editMenu->addAction(QStringLiteral("Import EQ filters\u2026"));
    exportFilters = editMenu->addAction(QStringLiteral("Export EQ filters\u2026"));
    connect(importFilters, &QAction::triggered, this, &EditMenu::importClicked);
    connect(exportFilters, &QAction::triggered, this, &EditMenu::exportClicked);
    fitMeasurement = editMenu->addAction(QStringLiteral("Fit to measurement\u2026"));
    connect(fitMeasurement, &QAction::triggered, this, &EditMenu::fitClicked);
    connect(p.eq.fitButton(), &QPushButton::clicked, this, &EditMenu::fitClicked);
    overlay = new MeasurementOverlay(p.eq, p.session.model(), p.graph.geometry(),
                                     [this] { return eqPageChannel(); }, this);
    runPreview = [](EqImportDialog& preview) { return preview.exec() == QDialog::Accepted; };
    runFitPreview = [](EqFitDialog& preview) { return preview.exec() == QDialog::Accepted; };
    connect(editMenu, &QMenu::aboutToShow, this, &EditMenu::update);

    // Window shortcuts rather than the items' own: they must work while the link opens and
    // closes, which no signal reports, so availability is checked when a key is pressed.
    connect(new QShortcut(UndoKey, &p.window), &QShortcut::activated, this, &EditMenu::undoStep);
    for (const QKeySequence& key : RedoKeys)
        connect(new QShortcut(key, &p.window), &QShortcut::activated, this, &EditMenu::redoStep);
    // The pages' numeric fields would take these keys for their own text undo.
    qApp->installEventFilter(this);

    editHistory->channelNames = [this](int channel) { return channelName(channel); };
    editHistory->redraw = [this](const ChannelModel& before) { redraw(before); };
    QUndoStack& stack = editHistory->stack();
    connect(&stack, &QUndoStack::indexChanged, this, &EditMenu::update);
    connect(&stack, &QUndoStack::cleanChanged, this, &EditMenu::update);
    update();
}

EditMenu::~EditMenu() {
    if (qApp) qApp->removeEventFilter(this);
    // The stack announces its clearing as it goes, after the window's rows are gone.
    disconnect(&editHistory->stack(), nullptr, this, nullptr);
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    const auto onEditingPage = [this](QWidget* w) {
        return p.eq.isAncestorOf(w) || p.gain.isAncestorOf(w) || p.delay.isAncestorOf(w);
    };
    // Only the pages' numeric fields: text fields elsewhere (names, settings) keep their own.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) &&
        onEditingPage(static_cast<QWidget*>(watched)) &&
        isHistoryKey(static_cast<QKeyEvent*>(event))) {
        // Not taken by the field, so the window's shortcut runs.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool EditMenu::editingAvailable() const {
    // The window lock and the "0 dB" sequence both disable the channel rows.
    return p.session.linkOpen() != 0 && p.rows.isEnabled();
}

int EditMenu::eqPageChannel() const {
    return p.edit.currentPage == PageEq && p.edit.currentChannel >= 0 &&
                   p.edit.currentChannel < ChannelCount
               ? p.edit.currentChannel
               : -1;
}

void EditMenu::update() {
    editHistory->record();
    const QUndoStack& stack = editHistory->stack();
    const bool available = editingAvailable();
    undo->setText(itemText(QStringLiteral("Undo"), stack.undoText(), UndoKey));
    redo->setText(itemText(QStringLiteral("Redo"), stack.redoText(), RedoKeys[0]));
    undo->setEnabled(available && stack.canUndo());
    redo->setEnabled(available && stack.canRedo());
    importFilters->setEnabled(available && eqPageChannel() >= 0);
    fitMeasurement->setEnabled(available && eqPageChannel() >= 0);
    // Export only reads the set; it needs the page, not the link.
    exportFilters->setEnabled(p.rows.isEnabled() && eqPageChannel() >= 0);
}

QString EditMenu::channelName(int channel) const {
    return p.rows.rowCaption(channel)->text();
}

void EditMenu::importClicked() {
    const int channel = eqPageChannel();
    if (!editingAvailable() || channel < 0) return;
    const QString file = p.dialogs.openFileName(&p.window, FilterFiles);
    if (file.isEmpty()) return;
    // A pipe nobody writes would hold the window in open() and a device may never end: only a
    // regular file of a filter text's size is read.
    const PlainFile in = PlainFile::read(file, PlainFile::FilterTextLimit);
    if (in.status != PlainFile::Status::Read) {
        p.dialogs.error(&p.window, in.tooLarge ? tr("%1 is too large for a filter text.").arg(file)
                                               : tr("Cannot read %1: %2").arg(file, in.reason));
        return;
    }
    const QByteArray& bytes = in.bytes;
    const FilterText text = parseFilterText(std::string_view(bytes.constData(), bytes.size()));
    ChannelBands current;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        current[row] = p.session.model().band(bandAddress(channel, row));
    const FilterImport plan = planFilterImport(text, current);
    if (!plan.error.empty()) {
        p.dialogs.message(&p.window, QString::fromStdString(plan.error));
        return;
    }
    EqImportDialog preview(text, plan, channel, channelName(channel), QFileInfo(file).fileName(),
                           p.graph, &p.window);
    // The link may have closed or an exchange begun while the preview was open.
    if (!runPreview(preview) || !editingAvailable() || eqPageChannel() != channel) return;

    applyBands(channel, plan.bands, tr("%1 EQ import").arg(channelName(channel)));
}

void EditMenu::applyBands(int channel, const ChannelBands& bands, const QString& stepName) {
    editHistory->record();
    editHistory->nameNextStep(stepName);
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const int band = bandAddress(channel, row);
        p.session.model().band(band) = bands[row];
        p.graph.refreshBand(band);
        p.session.builders().QueueEqBandMessage(band);
    }
    editHistory->record();
    p.eq.fillEqFields(channel);
    p.showGraph();
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        p.edit.entryText = field->text();
    update();
}

void EditMenu::fitClicked() {
    const int channel = eqPageChannel();
    if (!editingAvailable() || channel < 0) return;
    const QString file = p.dialogs.openFileName(&p.window, MeasurementFiles);
    if (file.isEmpty()) return;
    const Response measured = readResponseFile(file.toStdString());
    if (!measured.ok()) {
        p.dialogs.error(&p.window, QString::fromStdString(measured.error));
        return;
    }
    EqFitDialog::Inputs inputs{measured, QFileInfo(file).fileName(), {}, channelName(channel)};
    for (int row = 0; row < EqRowsPerChannel; ++row)
        inputs.current[row] = p.session.model().band(bandAddress(channel, row));
    const auto chooseTarget = [this]() -> std::optional<std::pair<Response, QString>> {
        const QString targetFile = p.dialogs.openFileName(&p.window, MeasurementFiles);
        if (targetFile.isEmpty()) return std::nullopt;
        Response target = readResponseFile(targetFile.toStdString());
        if (!target.ok()) {
            p.dialogs.error(&p.window, QString::fromStdString(target.error));
            return std::nullopt;
        }
        return std::pair{std::move(target), QFileInfo(targetFile).fileName()};
    };
    EqFitDialog preview(std::move(inputs), p.graph, chooseTarget, &p.window);
    // The link may have closed or an exchange begun while the preview was open.
    if (!runFitPreview(preview) || !editingAvailable() || eqPageChannel() != channel ||
        !preview.fit().error.empty())
        return;
    applyBands(channel, preview.fit().bands, tr("%1 EQ fit").arg(channelName(channel)));
    const FitOptions o = preview.options();
    overlay->show(channel, preview.measured(), preview.target(), o.fromHz, o.toHz);
}

void EditMenu::exportClicked() {
    const int channel = eqPageChannel();
    if (!p.rows.isEnabled() || channel < 0) return;
    const QString name = channelName(channel);
    const QString file =
        p.dialogs.saveFileName(&p.window, name + QStringLiteral(" EQ.txt"), FilterFiles);
    if (file.isEmpty()) return;
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[row] = p.session.model().band(bandAddress(channel, row));
    const std::string text = writeFilterText(name.toStdString(), bands);
    // Written whole or not at all: an existing file stays as it was when writing fails.
    QString reason;
    if (!writeFileAtomically(file, QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                             reason)) {
        p.dialogs.error(&p.window, tr("Cannot write %1: %2").arg(file, reason));
    }
}

void EditMenu::undoStep() {
    if (!editingAvailable()) return;
    editHistory->undo();
    update();
}

void EditMenu::redoStep() {
    if (!editingAvailable()) return;
    editHistory->redo();
    update();
}

void EditMenu::redraw(const ChannelModel& before) {
    const ChannelModel& model = p.session.model();
    for (int band = 0; band < EqBandCount; ++band) {
        if (before.band(band) != model.band(band)) p.graph.refreshBand(band);
    }
    for (int ch = 0; ch < ChannelCount; ++ch) {
        const Crossover& was = before.crossover(ch);
        const Crossover& now = model.crossover(ch);
        if (was.hpf != now.hpf) p.graph.redrawHighPass(ch);
        if (was.lpf != now.lpf) p.graph.redrawLowPass(ch);
    }
    p.rows.showModel();
    const int ch = p.edit.currentChannel;
    switch (p.edit.currentPage) {
    case PageEq:
        p.eq.fill(ch);
        // A step may have changed another channel: the page shows its own channel's picture.
        p.graph.openPage(ch);
        break;
    case PageGain:
        p.gain.fill(ch);
        break;
    case PageDelay:
        p.delay.fill(ch);
        break;
    case PageLimiter:
        p.limiter.fill(ch);
        break;
    default:
        break;
    }
    p.showGraph();
    // The field holding the focus now shows the model; leaving it must not commit that again.
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        p.edit.entryText = field->text();
}

} // namespace m7410
