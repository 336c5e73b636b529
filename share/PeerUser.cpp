#include "share/PeerUser.h"

#include <sys/socket.h>
#include <unistd.h>

namespace m7410 {

bool peerIsThisUser(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) !=
        0)
        return false;
    return peer.uid == ::getuid();
}

} // namespace m7410
