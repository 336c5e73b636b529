// Tests of permissions that must hold when the suite runs as root, as CI does.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

namespace m7410::test {

// Root may write anywhere; an unprivileged file-system identity makes the folder's mode count.
struct AsOtherUser {
    AsOtherUser() {
        if (geteuid() == 0) setfsuid(65534);
    }
    ~AsOtherUser() {
        if (geteuid() == 0) setfsuid(0);
    }
};

} // namespace m7410::test
