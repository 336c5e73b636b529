#include "link/LinkLogging.h"

Q_LOGGING_CATEGORY(lcLink, "m7410.link", QtWarningMsg)
