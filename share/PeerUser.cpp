#include "share/PeerUser.h"

#include <sys/socket.h>

namespace m7410 {

std::optional<uid_t> peerUserOf(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) !=
        0)
        return std::nullopt;
    return peer.uid;
}

} // namespace m7410
