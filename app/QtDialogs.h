// UserDialogs as real Qt message boxes and file dialogs; tests put their own in its place.
#pragma once

#include "panels/UserDialogs.h"

namespace m7410 {

// The real boxes and dialogs.
class QtDialogs : public UserDialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& defaultName,
                         const QString& filter) override;
};

} // namespace m7410
