#include "ctl/EqFitArguments.h"

#include <charconv>
#include <cmath>

namespace m7410 {

namespace {

std::optional<double> number(const std::string& text) {
    std::string_view s(text);
    if (s.size() > 1 && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// "1,2" or "3": band numbers 1..6.
bool bandList(const std::string& text, std::array<bool, 6>& keep) {
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string item = text.substr(at, comma - at);
        if (item.size() != 1 || item[0] < '1' || item[0] > '6') return false;
        keep[static_cast<std::size_t>(item[0] - '1')] = true;
        at = comma + 1;
    }
    return true;
}

} // namespace

std::optional<std::string> takeEqFitOption(const std::vector<std::string>& args, std::size_t& i,
                                           EqFitArguments& fit) {
    const std::string& arg = args[i];
    if (arg == "--cut-only") {
        fit.cutOnly = true;
        fit.given.push_back(arg);
        return std::string();
    }
    static const char* const valued[] = {"--target", "--from", "--to", "--max-boost", "--keep"};
    std::string name;
    std::string value;
    for (const char* option : valued) {
        const std::string o(option);
        if (arg == o) {
            if (i + 1 >= args.size()) return o + " needs a value";
            name = o;
            value = args[++i];
        } else if (arg.starts_with(o + "=")) {
            name = o;
            value = arg.substr(o.size() + 1);
        }
    }
    if (name.empty()) return std::nullopt;
    fit.given.push_back(name);
    if (name == "--target") {
        if (value.empty()) return std::string("--target needs a FILE");
        fit.target = value;
        return std::string();
    }
    if (name == "--keep") {
        if (!bandList(value, fit.keep))
            return "--keep takes band numbers 1 to 6 separated by commas, not '" + value + "'";
        return std::string();
    }
    const std::optional<double> v = number(value);
    if (name == "--max-boost") {
        if (!v || *v < 0.0 || *v > 12.0)
            return "--max-boost takes 0 to 12 (dB), not '" + value + "'";
        fit.maxBoostDb = *v;
        return std::string();
    }
    if (!v || *v < 1.0 || *v > 48000.0)
        return name + " takes a frequency in Hz from 1 to 48000, not '" + value + "'";
    (name == "--from" ? fit.fromHz : fit.toHz) = *v;
    return std::string();
}

} // namespace m7410
