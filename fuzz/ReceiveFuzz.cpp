#include "ReceiveFeeder.h"

#include <cstdio>
#include <cstdlib>

// libFuzzer entry: any byte stream from the unit must leave the session sound and must not
// make it send a malformed frame.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string fault = m7410::fuzz::receivedFault(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "receive_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
