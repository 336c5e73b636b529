#pragma once

#include <QLoggingCategory>

// Diagnostics of the protocol engine, silent unless enabled with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
