// How a fuzz target reports a finding: the target's name and the fault, then abort.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace m7410::fuzz {

// A finding: says what broke under the target's own name, then aborts so libFuzzer keeps the
// input that showed it.
[[noreturn]] inline void fail(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.c_str());
    std::abort();
}

} // namespace m7410::fuzz
