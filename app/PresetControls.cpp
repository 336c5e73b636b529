#include "app/PresetControls.h"

#include "app/FileBox.h"
#include "app/MemoryMenuDialog.h"
#include "app/TopGroup.h"
#include "panels/FilteredField.h"

#include <QComboBox>
#include <QPushButton>

namespace m7410 {

PresetControls::PresetControls(Session& session, TopGroup& top, FileBox& files,
                               MemoryMenuDialog& memory, QObject* parent)
    : QObject(parent), top(top), devicePresets(session), presetFiles(session) {
    connect(top.loadButton(), &QPushButton::clicked, this,
            [this] { devicePresets.loadClicked(this->top.loadList()->currentIndex()); });
    connect(top.saveButton(), &QPushButton::clicked, this, &PresetControls::saveFromPresetArea);
    connect(top.nameField(), &FilteredField::enterPressed, this,
            &PresetControls::saveFromPresetArea);
    connect(&memory, &MemoryMenuDialog::saveRequested, this, [this](const QString& name) {
        devicePresets.memoryMenuSave(this->top.saveList()->currentIndex(), name.toStdString());
    });
    connect(files.button(FileBox::SaveOne), &QPushButton::clicked, this,
            [this] { presetFiles.saveOneGroupToPc(); });
    connect(files.button(FileBox::LoadOne), &QPushButton::clicked, this,
            [this] { presetFiles.loadOneGroupToDevice(); });
    connect(files.button(FileBox::SaveTwenty), &QPushButton::clicked, this,
            [this] { presetFiles.saveTwentyGroupsToPc(); });
    connect(files.button(FileBox::LoadTwenty), &QPushButton::clicked, this,
            [this] { presetFiles.loadTwentyGroupsToDevice(); });
}

void PresetControls::saveFromPresetArea() {
    devicePresets.saveClicked(top.saveList()->currentIndex(),
                              top.nameField()->text().toStdString());
}

} // namespace m7410
