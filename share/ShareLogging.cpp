#include "share/ShareLogging.h"

// Warnings show by default: a refused peer is something the owner's user should hear of.
Q_LOGGING_CATEGORY(lcShare, "m7410.share", QtWarningMsg)
