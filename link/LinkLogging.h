// The link's logging category (m7410.link), silent unless QT_LOGGING_RULES turns it on.
#pragma once

#include <QLoggingCategory>

// Diagnostics of the device link, silent unless enabled with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcLink)
