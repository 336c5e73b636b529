#include "ReceiveFeeder.h"

#include <cstdlib>

// libFuzzer entry: any byte stream from the unit must leave the session sound.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (!m7410::fuzz::feedReceived(data, size)) std::abort();
    return 0;
}
