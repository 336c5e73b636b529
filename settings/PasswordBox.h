// The box that asks for the password before the personal-settings box opens.
#pragma once

#include "panels/PageFrame.h"

class QLineEdit;
class QPushButton;

namespace m7410 {

// The small box that asks for the password before the personal-settings box opens.
class PasswordBox : public PageFrame {
    Q_OBJECT
public:
    explicit PasswordBox(QWidget* parent = nullptr);

    QLineEdit* field() const { return password; }
    QPushButton* okButton() const { return ok; }

signals:
    // "OK" or Enter in the field.
    void submitted();

private:
    QLineEdit* password;
    QPushButton* ok;
};

} // namespace m7410
