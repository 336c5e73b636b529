// The way from the hotkey through the password box to the personal-settings box.
#pragma once

#include <QObject>

#include <functional>

namespace m7410 {

class PasswordBox;
class PersonalSettingsBox;
class UserDialogs;

// The way to the personal-settings box: the hotkey shows or hides the password box, the
// right password opens the settings box. Passing once gives no lasting permission.
class PersonalLock : public QObject {
    Q_OBJECT
public:
    static inline const QString Password = QStringLiteral("804417");

    PersonalLock(PasswordBox& password, PersonalSettingsBox& settings, UserDialogs& dialogs,
                 QObject* parent = nullptr);

    // Closes whatever page is open; it calls hideBoxes() in turn.
    std::function<void()> closeCurrentPage;

    void hotkeyPressed();
    void checkPassword();
    // Hides both boxes and forgets that the password box was shown.
    void hideBoxes();

    bool passwordBoxShown() const { return shown; }

private:
    PasswordBox& password;
    PersonalSettingsBox& settings;
    UserDialogs& dialogs;
    bool shown = false;
};

} // namespace m7410
