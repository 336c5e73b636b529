#include "app/PresetControls.h"

#include "app/FileBox.h"
#include "app/MemoryMenuDialog.h"
#include "app/NameCharacters.h"
#include "app/TopGroup.h"
#include "panels/EditState.h"
#include "panels/FilteredField.h"
#include "protocol/Frame.h"
#include "unit/Unit.h"

#include <QComboBox>
#include <QPushButton>

namespace m7410 {

PresetControls::PresetControls(Session& session, Unit& unit, SessionView& dialogs, EditState& edit,
                               TopGroup& top, FileBox& files, MemoryMenuDialog& memory,
                               QObject* parent)
    : QObject(parent), unit(unit), dialogs(dialogs), edit(edit), top(top), devicePresets(session),
      presetFiles(session) {
    connect(top.loadButton(), &QPushButton::clicked, this, &PresetControls::recallFromPresetArea);
    connect(top.saveButton(), &QPushButton::clicked, this, &PresetControls::saveFromPresetArea);
    connect(top.nameField(), &FilteredField::enterPressed, this,
            &PresetControls::saveFromPresetArea);
    connect(&memory, &MemoryMenuDialog::saveRequested, this, [this](const QString& name) {
        devicePresets.memoryMenuSave(this->top.saveList()->currentIndex(), nameBytes(name));
    });
    selectOnEntry(top.nameField());
    selectOnEntry(memory.nameField());
    connect(files.button(FileBox::SaveOne), &QPushButton::clicked, this,
            [this] { presetFiles.saveOneGroupToPc(); });
    // With the link closed a press does nothing, as the engine's handlers have it; the unit
    // would answer that it is not connected only after a wait.
    connect(files.button(FileBox::LoadOne), &QPushButton::clicked, this, [this] {
        if (!this->unit.isConnected()) return;
        this->unit.loadCurrent(Unit::AsWindow{[this] {
                                   return this->dialogs.askOpenFileName(PresetFileKind::OneGroup);
                               }},
                               shownByView<std::string>());
    });
    connect(files.button(FileBox::SaveTwenty), &QPushButton::clicked, this, [this] {
        if (!this->unit.isConnected()) return;
        this->unit.backup(Unit::AsWindow{[this] {
                              return this->dialogs.askSaveFileName(PresetFileKind::TwentyGroup);
                          }},
                          shownByView<std::vector<std::string>>());
    });
    connect(files.button(FileBox::LoadTwenty), &QPushButton::clicked, this, [this] {
        if (!this->unit.isConnected()) return;
        this->unit.restore(Unit::AsWindow{[this] {
                               return this->dialogs.askOpenFileName(PresetFileKind::TwentyGroup);
                           }},
                           shownByView<RestoreReport>());
    });
}

void PresetControls::recallFromPresetArea() {
    const int index = top.loadList()->currentIndex();
    if (!unit.isConnected() || index < 0 || index >= PresetSlotCount) return;
    unit.recall(index + 1, Unit::AsWindow{}, shownByView<UnitStatus>());
}

// Entering a name field selects its whole name, so typing replaces it; the same flag as the
// numeric fields decides, so only the first entry after leaving a field selects.
void PresetControls::selectOnEntry(FilteredField* field) {
    connect(field, &FilteredField::entered, this, [this, field] {
        if (edit.captureOnEntry != 1) return;
        edit.captureOnEntry = 0;
        // Queued: the click that gave the focus places the cursor after this handler.
        QMetaObject::invokeMethod(field, &QLineEdit::selectAll, Qt::QueuedConnection);
    });
    connect(field, &FilteredField::left, this, [this] { edit.leaveField(); });
}

void PresetControls::saveFromPresetArea() {
    devicePresets.saveClicked(top.saveList()->currentIndex(), nameBytes(top.nameField()->text()));
}

} // namespace m7410
