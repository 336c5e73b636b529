// The user at the other end of a local socket, so that only the owning user is served; the
// look-up can be replaced, so that a peer of another user can be tried without one.
#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

#include <sys/types.h>

namespace m7410 {

// The user id of the connected socket's peer; nothing when the system cannot tell.
std::optional<uid_t> peerUserOf(qintptr socketDescriptor);

using PeerUserLookup = std::function<std::optional<uid_t>(qintptr socketDescriptor)>;

} // namespace m7410
