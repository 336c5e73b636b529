#include "settings/PasswordBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m7410 {

PasswordBox::PasswordBox(QWidget* parent)
    : PageFrame(tr("Password box"), parent), password(new QLineEdit(this)),
      ok(new QPushButton(QStringLiteral("OK"), this)) {
    setTitle(QStringLiteral("Password:"));
    password->setGeometry(10, 28, 150, 23);
    password->setMaxLength(10);
    password->setEchoMode(QLineEdit::Password);
    password->setAccessibleName(tr("Password"));
    ok->setGeometry(168, 27, 60, 25);
    resize(240, 62);
    connect(ok, &QPushButton::clicked, this, &PasswordBox::submitted);
    connect(password, &QLineEdit::returnPressed, this, &PasswordBox::submitted);
}

} // namespace m7410
