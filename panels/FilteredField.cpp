#include "panels/FilteredField.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace m7410 {

FilteredField::FilteredField(const QString& allowedCharacters, const QString& accessibleName,
                             QWidget* parent)
    : QLineEdit(parent), allowed(allowedCharacters) {
    setAccessibleName(accessibleName);
}

void FilteredField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    // Escape belongs to whatever holds the field: the dialog or the page closes.
    if (key == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    if (stepKeys) {
        const int steps = key == Qt::Key_Up         ? 1
                          : key == Qt::Key_Down     ? -1
                          : key == Qt::Key_PageUp   ? 10
                          : key == Qt::Key_PageDown ? -10
                                                    : 0;
        if (steps != 0) {
            emit stepRequested(steps);
            return;
        }
    }
    if (key == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Keys that type nothing (arrows, Home, Delete) move and edit as usual; any character that
    // is not on the list is dropped, which also stops pasting through Ctrl+V.
    const QString text = event->text();
    if (!text.isEmpty() && (text.size() != 1 || !allowed.contains(text.at(0)))) {
        event->accept();
        return;
    }
    if (!text.isEmpty() && typingLimit > 0) {
        const int after = static_cast<int>(this->text().size() - selectedText().size() + 1);
        if (after > typingLimit && after > this->text().size()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit entered();
}

void FilteredField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another program or opening a menu does not leave the field.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit left();
}

} // namespace m7410
