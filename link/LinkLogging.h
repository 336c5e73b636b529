#pragma once

#include <QLoggingCategory>

// Diagnostics of the device link, silent unless enabled with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcLink)
