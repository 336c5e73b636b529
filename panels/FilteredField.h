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

signals:
    void entered();
    void left();
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString allowed;
};

} // namespace m7410
