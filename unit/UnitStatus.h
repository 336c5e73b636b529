// What the unit API tells about a unit: its link, its preset in force and its 20 names.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

struct UnitStatus {
    std::string link; // "USB M_7410" or "serial /dev/ttyUSB0"
    int currentPreset = 1;
    std::string currentName;           // Latin-1, as the unit keeps names
    std::optional<bool> bassOn;        // unknown until the first status reply
    std::array<std::string, 20> names; // slots 1..20, Latin-1
};

// The outcome of a restore: what went out, and what the read-back showed.
struct RestoreReport {
    std::vector<std::string> written; // the 20 records as sent (fields limited as the window does)
    std::optional<bool> verified;     // nothing when no read-back was asked for
    std::vector<int> differing;       // slots 1..20 that read back otherwise
};

} // namespace m7410
