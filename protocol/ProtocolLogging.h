// The protocol's logging category (m7410.protocol), silent unless QT_LOGGING_RULES turns it on.
#pragma once

#include <QLoggingCategory>

// Diagnostics of the protocol engine, silent unless enabled with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
