#include "app/AppLogging.h"

Q_LOGGING_CATEGORY(appLog, "m7410.app", QtWarningMsg)
