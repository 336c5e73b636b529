#include "editing/EditHistory.h"

#include "editing/ModelEditCommand.h"
#include "protocol/MessageBuilders.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace m7410 {

EditHistory::EditHistory(ChannelModel& m, MessageBuilders& b, QObject* parent)
    : QObject(parent), model(m), builders(b), baseline(m) {
    undoStack.setUndoLimit(Depth);
    builders.called = [this] { builderCalled(); };
    // Presses anywhere tell one drag from the next, whichever control it moves.
    QCoreApplication::instance()->installEventFilter(this);
}

EditHistory::~EditHistory() {
    builders.called = nullptr;
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool EditHistory::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The press reaches the widget and then its parents; one serial per press is enough.
        if (!pointerHeld) ++pressSerial;
        pointerHeld = true;
        break;
    case QEvent::MouseButtonRelease:
        pointerHeld = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void EditHistory::builderCalled() {
    if (replaying) return;
    if (!pending) {
        pending = true;
        pendingDrag = pointerHeld ? pressSerial : -1;
        // The rest of this event may still change other groups ("0 dB" sets six bands).
        QTimer::singleShot(0, this, &EditHistory::record);
    }
}

void EditHistory::record() {
    if (!pending) return;
    pending = false;
    const QString name = std::exchange(nextName, QString());
    if (model == baseline) return;
    const auto namer = [this](const ChannelModel& before, const ChannelModel& after) {
        return EditStep::name(before, after, channelNames);
    };
    const int id = name.isEmpty() ? EditStep::mergeId(baseline, model) : -1;
    undoStack.push(new ModelEditCommand(
        baseline, model, id, pendingDrag, [this](const ChannelModel& to) { replay(to); }, namer,
        name));
    baseline = model;
}

void EditHistory::restart() {
    pending = false;
    nextName.clear();
    undoStack.clear();
    baseline = model;
}

void EditHistory::undo() {
    record();
    undoStack.undo();
}

void EditHistory::redo() {
    record();
    undoStack.redo();
}

void EditHistory::replay(const ChannelModel& to) {
    const ChannelModel before = model;
    model = to;
    baseline = to;
    replaying = true;
    EditStep::queueChanges(before, to, builders);
    replaying = false;
    if (redraw) redraw(before);
}

} // namespace m7410
