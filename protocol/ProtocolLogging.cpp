#include "protocol/ProtocolLogging.h"

Q_LOGGING_CATEGORY(lcProtocol, "m7410.protocol", QtWarningMsg)
