#include "editing/ModelEditCommand.h"

namespace m7410 {

ModelEditCommand::ModelEditCommand(ChannelModel beforeSet, ChannelModel afterSet, int id,
                                   int serial, Replay replayTo, Namer name, const QString& text)
    : before(std::move(beforeSet)), after(std::move(afterSet)), stepId(id), dragSerial(serial),
      replay(std::move(replayTo)), namer(std::move(name)) {
    setText(text.isEmpty() && namer ? namer(before, after) : text);
}

void ModelEditCommand::undo() {
    replay(before);
}

void ModelEditCommand::redo() {
    if (applied) {
        applied = false;
        return;
    }
    replay(after);
}

bool ModelEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const ModelEditCommand*>(other);
    if (dragSerial < 0 || next->dragSerial != dragSerial) return false;
    after = next->after;
    if (namer) setText(namer(before, after));
    // A drag that ends where it began leaves nothing to undo.
    if (before == after) setObsolete(true);
    return true;
}

} // namespace m7410
