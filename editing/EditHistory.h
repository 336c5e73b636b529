// The undo history of the user's edits, grouped into steps; used by the edit menu.
#pragma once

#include "editing/EditStep.h"
#include "model/ChannelModel.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace m7410 {

class MessageBuilders;

// The undo history of the user's edits. Every edit ends in a message builder call; the edits of
// one event (the six bands of "0 dB", an import) become one step, and the steps of one drag,
// from press to release, merge. Undo and redo store the earlier or later set and send what
// changed through the same builders, so the scheduler sends it like any edit.
class EditHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int Depth = 200;

    EditHistory(ChannelModel& model, MessageBuilders& builders, QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& stack() { return undoStack; }
    // Redraws the window after a step was undone or redone; gets the set shown before.
    std::function<void(const ChannelModel& before)> redraw;
    EditStep::ChannelNames channelNames;

    // Makes the edits since the last step a step now, instead of when the event ends.
    void record();
    // A new parameter set replaced the one the steps belong to: the history starts again.
    void restart();
    // The name of the step the current edits will make ("Import EQ filters").
    void nameNextStep(const QString& text) { nextName = text; }
    void undo();
    void redo();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void builderCalled();
    void replay(const ChannelModel& to);

    ChannelModel& model;
    MessageBuilders& builders;
    QUndoStack undoStack;
    // The set as the last step left it.
    ChannelModel baseline;
    bool pending = false;
    bool replaying = false;
    QString nextName;
    // Counts pointer presses; a step made while one is held carries its number.
    int pressSerial = 0;
    bool pointerHeld = false;
    int pendingDrag = -1;
};

} // namespace m7410
