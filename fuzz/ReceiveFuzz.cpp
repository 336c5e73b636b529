#include "Finding.h"
#include "ReceiveFeeder.h"

// libFuzzer entry: any byte stream from the unit must leave the session sound and must not
// make it send a malformed frame.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string fault = m7410::fuzz::receivedFault(data, size);
    if (!fault.empty()) m7410::fuzz::fail(fault);
    return 0;
}
