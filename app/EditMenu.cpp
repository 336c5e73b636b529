#include "app/EditMenu.h"

#include "app/EditHistory.h"
#include "app/EqImportDialog.h"
#include "app/UserDialogs.h"
#include "eqtext/FilterTextParser.h"
#include "eqtext/FilterTextWriter.h"
#include "panels/ChannelGroup.h"
#include "panels/DelayPage.h"
#include "panels/EditState.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "protocol/Session.h"
#include "response/ResponseGraph.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSaveFile>
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
// Filter texts are a few lines; anything far larger is not one.
constexpr qint64 LargestFilterText = 1 << 20;

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
    runPreview = [](EqImportDialog& preview) { return preview.exec() == QDialog::Accepted; };
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
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        p.dialogs.error(&p.window, tr("Cannot read %1: %2").arg(file, in.errorString()));
        return;
    }
    if (in.size() > LargestFilterText) {
        p.dialogs.error(&p.window, tr("%1 is too large for a filter text.").arg(file));
        return;
    }
    const QByteArray bytes = in.readAll();
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

    editHistory->record();
    editHistory->nameNextStep(tr("%1 EQ import").arg(channelName(channel)));
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const int band = bandAddress(channel, row);
        p.session.model().band(band) = plan.bands[row];
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
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !out.commit()) {
        p.dialogs.error(&p.window, tr("Cannot write %1: %2").arg(file, out.errorString()));
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
