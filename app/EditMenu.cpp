#include "app/EditMenu.h"

#include "app/EditHistory.h"
#include "panels/ChannelGroup.h"
#include "panels/DelayPage.h"
#include "panels/EditState.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "protocol/Session.h"
#include "response/ResponseGraph.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
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

} // namespace

EditMenu::EditMenu(EditMenuParts parts, QMenu* before, QObject* parent)
    : QObject(parent), p(std::move(parts)),
      editHistory(std::make_unique<EditHistory>(p.session.model, p.session.builders)) {
    editMenu = new QMenu(QStringLiteral("&edit"), &p.window);
    p.window.menuBar()->insertMenu(before->menuAction(), editMenu);
    undo = editMenu->addAction(QStringLiteral("Undo"));
    redo = editMenu->addAction(QStringLiteral("Redo"));
    connect(undo, &QAction::triggered, this, &EditMenu::undoStep);
    connect(redo, &QAction::triggered, this, &EditMenu::redoStep);
    connect(editMenu, &QMenu::aboutToShow, this, &EditMenu::update);

    // Window shortcuts rather than the items' own: they must work while the link opens and
    // closes, which no signal reports, so availability is checked when a key is pressed.
    connect(new QShortcut(UndoKey, &p.window), &QShortcut::activated, this, &EditMenu::undoStep);
    for (const QKeySequence& key : RedoKeys)
        connect(new QShortcut(key, &p.window), &QShortcut::activated, this, &EditMenu::redoStep);
    // The numeric fields would take these keys for their own text undo.
    qApp->installEventFilter(this);

    editHistory->channelNames = [this](int channel) { return p.rows.rowCaption(channel)->text(); };
    editHistory->redraw = [this](const ChannelModel& before) { redraw(before); };
    QUndoStack& stack = editHistory->stack();
    connect(&stack, &QUndoStack::indexChanged, this, &EditMenu::update);
    connect(&stack, &QUndoStack::cleanChanged, this, &EditMenu::update);
    update();
}

EditMenu::~EditMenu() {
    if (qApp) qApp->removeEventFilter(this);
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) &&
        p.window.isAncestorOf(static_cast<QWidget*>(watched)) &&
        isHistoryKey(static_cast<QKeyEvent*>(event))) {
        // Not taken by the field, so the window's shortcut runs.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool EditMenu::editingAvailable() const {
    // The window lock and the "0 dB" sequence both disable the channel rows.
    return p.session.linkOpen != 0 && p.rows.isEnabled();
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
    const ChannelModel& model = p.session.model;
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
