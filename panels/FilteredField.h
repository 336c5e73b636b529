// A text field that takes only given characters and reports entering, leaving and Enter.
#pragma once

#include <QLineEdit>

namespace m7410 {

// A text field that takes only the characters it is given (plus Backspace and Enter) and
// reports entering, leaving and Enter, so its owner can apply the commit rule of numeric
// fields. Enter is consumed; it never reaches the field.
class FilteredField : public QLineEdit {
    Q_OBJECT
public:
    FilteredField(const QString& allowedCharacters, const QString& accessibleName,
                  QWidget* parent = nullptr);

    // Up and Down then ask for a step of one table entry, Page Up and Page Down for ten.
    void setStepKeys(bool on) { stepKeys = on; }
    // Typing stops at this many characters; a longer text given to the field is still shown
    // and kept whole (a maximum length would cut it).
    void setTypingLimit(int characters) { typingLimit = characters; }

signals:
    void entered();
    void left();
    void enterPressed();
    void stepRequested(int steps);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString allowed;
    bool stepKeys = false;
    int typingLimit = 0;
};

} // namespace m7410
