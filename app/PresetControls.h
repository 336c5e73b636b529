#pragma once

#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"

#include <QObject>

namespace m7410 {

class FileBox;
class MemoryMenuDialog;
class Session;
class TopGroup;

// Connects the preset area, the "Memory Menu" and the PC file box to the preset operations.
class PresetControls : public QObject {
    Q_OBJECT
public:
    PresetControls(Session& session, TopGroup& top, FileBox& files, MemoryMenuDialog& memory,
                   QObject* parent = nullptr);

    DevicePresets& device() { return devicePresets; }
    PresetFiles& files() { return presetFiles; }

private:
    void saveFromPresetArea();

    TopGroup& top;
    DevicePresets devicePresets;
    PresetFiles presetFiles;
};

} // namespace m7410
