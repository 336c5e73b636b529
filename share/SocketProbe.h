// What is at a socket's path before an owner takes it: nothing, a live owner, or the file a
// crashed owner left behind.
#pragma once

#include <QString>

namespace m7410 {

enum class SocketState {
    Absent,     // nothing at the path
    Served,     // an owner accepts connections there
    Stale,      // a socket file nobody listens on
    NotASocket, // some other file, which is left alone
};

// Asks without waiting: a connect on a socket nobody listens on is refused at once.
SocketState probeSocket(const QString& path);

} // namespace m7410
