#include "settings/PersonalLock.h"

#include "panels/UserDialogs.h"
#include "settings/PasswordBox.h"
#include "settings/PersonalSettingsBox.h"

#include <QLineEdit>

namespace m7410 {

PersonalLock::PersonalLock(PasswordBox& password, PersonalSettingsBox& settings,
                           UserDialogs& dialogs, QObject* parent)
    : QObject(parent), password(password), settings(settings), dialogs(dialogs) {
    connect(&password, &PasswordBox::submitted, this, &PersonalLock::checkPassword);
    connect(&password, &PageFrame::closeClicked, this, [this] {
        shown = false;
        this->password.hide();
    });
}

void PersonalLock::hotkeyPressed() {
    if (shown) {
        shown = false;
        password.hide();
        return;
    }
    if (closeCurrentPage) closeCurrentPage();
    settings.hide();
    shown = true;
    password.field()->clear();
    password.show();
    password.raise();
    password.activateWindow();
    password.field()->setFocus();
}

void PersonalLock::checkPassword() {
    if (password.field()->text() != Password) {
        dialogs.message(password.parentWidget(), QStringLiteral("Wrong password."));
        password.field()->clear();
        password.field()->setFocus();
        return;
    }
    shown = false;
    password.hide();
    settings.show();
    settings.raise();
    settings.nameField()->setFocus(Qt::OtherFocusReason);
}

void PersonalLock::hideBoxes() {
    password.hide();
    settings.hide();
    shown = false;
}

} // namespace m7410
