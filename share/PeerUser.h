// The user at the other end of a local socket, so that only the owning user is served.
#pragma once

#include <QtGlobal>

namespace m7410 {

// True when the peer of the connected socket runs as this process's user.
bool peerIsThisUser(qintptr socketDescriptor);

} // namespace m7410
