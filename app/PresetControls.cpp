#include "app/PresetControls.h"

#include "app/FileBox.h"
#include "app/MemoryMenuDialog.h"
#include "app/NameCharacters.h"
#include "app/TopGroup.h"
#include "panels/EditState.h"
#include "panels/FilteredField.h"

#include <QComboBox>
#include <QPushButton>

namespace m7410 {

PresetControls::PresetControls(Session& session, EditState& edit, TopGroup& top, FileBox& files,
                               MemoryMenuDialog& memory, QObject* parent)
    : QObject(parent), edit(edit), top(top), devicePresets(session), presetFiles(session) {
    connect(top.loadButton(), &QPushButton::clicked, this,
            [this] { devicePresets.loadClicked(this->top.loadList()->currentIndex()); });
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
    connect(files.button(FileBox::LoadOne), &QPushButton::clicked, this,
            [this] { presetFiles.loadOneGroupToDevice(); });
    connect(files.button(FileBox::SaveTwenty), &QPushButton::clicked, this,
            [this] { presetFiles.saveTwentyGroupsToPc(); });
    connect(files.button(FileBox::LoadTwenty), &QPushButton::clicked, this,
            [this] { presetFiles.loadTwentyGroupsToDevice(); });
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
