// eq-fit's options on the command line, checked there like every other argument.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

struct EqFitArguments {
    std::string measurement;
    std::string target; // empty: flat
    double fromHz = 20.0;
    double toHz = 20000.0;
    double maxBoostDb = 6.0;
    bool cutOnly = false;
    std::array<bool, 6> keep{}; // bands 1..6 left as they are
    // The eq-fit options given, for refusing them with another command.
    std::vector<std::string> given;
};

// When args[i] is one of eq-fit's options, takes it (and its value, advancing i) into fit:
// an empty string, or why the option or its value is wrong. Nothing when it is no such option.
std::optional<std::string> takeEqFitOption(const std::vector<std::string>& args, std::size_t& i,
                                           EqFitArguments& fit);

} // namespace m7410
