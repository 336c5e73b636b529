// The personal-settings box: caption, channel names, channel mode, version text and logo.
#pragma once

#include "panels/PageFrame.h"
#include "settings/PersonalSettings.h"

#include <QImage>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace m7410 {

class ColourButton;
class SettingsFile;
class UserDialogs;

// The personal-settings box: window caption, channel names, channel mode, version text and
// logo. "save" writes them to the settings file and the logo beside the program; they take
// effect at the next start.
class PersonalSettingsBox : public PageFrame {
    Q_OBJECT
public:
    PersonalSettingsBox(SettingsFile& settings, QString logoPath, UserDialogs& dialogs,
                        QWidget* parent = nullptr);

    // Fills the fields as the start-up read them (mode 0 chooses no mode button).
    void load(const PersonalSettings& values);
    PersonalSettings values() const;
    void setLogo(const QImage& logo);
    const QImage& logo() const { return logoImage; }

    // A mode button: 1, 2 or 3 outputs.
    void chooseMode(int mode);
    int channelMode() const { return mode; }
    ColourButton* modeButton(int mode) const { return modeButtons.at(mode - 1); }
    QLineEdit* nameField() const { return name; }
    QLineEdit* channelField(int row) const { return channelFields.at(row); }
    QLineEdit* versionField() const { return version; }
    QPushButton* saveButton() const { return save; }
    QPushButton* cancelButton() const { return cancel; }
    QPushButton* loadButton() const { return loadLogo; }

    void loadLogoClicked();
    void saveClicked();

private:
    void buildFields();
    void buildLogoArea();
    void showLogo();

    SettingsFile& settings;
    QString logoPath;
    UserDialogs& dialogs;
    int mode = 0;
    QImage logoImage;
    QLineEdit* name = nullptr;
    QLineEdit* version = nullptr;
    std::array<ColourButton*, 3> modeButtons{};
    // Main, output one, two, three.
    std::array<QLineEdit*, 4> channelFields{};
    std::array<QLabel*, 4> channelLabels{};
    QLabel* logoArea = nullptr;
    QPushButton* loadLogo = nullptr;
    QPushButton* save = nullptr;
    QPushButton* cancel = nullptr;
};

} // namespace m7410
