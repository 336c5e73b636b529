// The shared unit's logging category (m7410.share): refused peers and dropped clients.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcShare)
