// The seam for the window's modal boxes and file dialogs, used by app/, editing/ and settings/.
#pragma once

#include <QString>

class QWidget;

namespace m7410 {

// The modal boxes and file dialogs of the window, behind one seam so tests can answer them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A modal box with a fixed text ("Successfully saved.", "Wrong password." ...).
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A modal box for a failure the system reported (a file that cannot be written ...).
    virtual void error(QWidget* parent, const QString& text) = 0;
    // The chosen file, or empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
    // The chosen file, or empty when cancelled; asks before replacing a file.
    virtual QString saveFileName(QWidget* parent, const QString& defaultName,
                                 const QString& filter) = 0;
};

} // namespace m7410
