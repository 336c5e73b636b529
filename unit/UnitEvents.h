// The notifications of the unit API that any front end may subscribe to.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace m7410 {

// Where a changed value came from: this program, or the unit (a received set, a recall).
enum class ChangeOrigin { ThisProgram, Unit };

struct UnitListener {
    std::function<void(bool open)> linkChanged;
    // A whole set replaced what was known of the unit (received, recalled or loaded).
    std::function<void(ChangeOrigin origin)> setReplaced;
    // One parameter changed: its catalogue path.
    std::function<void(const std::string& path, ChangeOrigin origin)> parameterChanged;
    std::function<void(const std::array<std::string, 20>& names)> namesChanged;
    // Percentage of a long exchange; -1 when it ended.
    std::function<void(int percent)> progress;
};

} // namespace m7410
