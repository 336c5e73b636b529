// The window's logging category (m7410.app), silent unless QT_LOGGING_RULES turns it on.
#pragma once

#include <QLoggingCategory>

// Diagnostics of the window, silent unless enabled with QT_LOGGING_RULES="m7410.app=true".
Q_DECLARE_LOGGING_CATEGORY(appLog)
