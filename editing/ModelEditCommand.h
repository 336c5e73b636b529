// One undo step as a QUndoCommand: the parameter set before and after an edit.
#pragma once

#include "model/ChannelModel.h"

#include <QUndoCommand>

#include <functional>

namespace m7410 {

// One undo step: the parameter set before and after a user edit. Undo and redo hand the set to
// replay, which stores it and sends what changed as an edit would.
class ModelEditCommand : public QUndoCommand {
public:
    using Replay = std::function<void(const ChannelModel& to)>;
    using Namer = std::function<QString(const ChannelModel& before, const ChannelModel& after)>;

    // dragSerial >= 0 marks a step made while a pointer button is held: steps of the same drag
    // and the same id merge into one. text, when not empty, replaces the derived name.
    ModelEditCommand(ChannelModel before, ChannelModel after, int id, int dragSerial, Replay replay,
                     Namer namer, const QString& text = {});

    void undo() override;
    void redo() override;
    int id() const override { return stepId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    ChannelModel before;
    ChannelModel after;
    int stepId;
    int dragSerial;
    Replay replay;
    Namer namer;
    // The edit is in the model already when the step is pushed.
    bool applied = true;
};

} // namespace m7410
