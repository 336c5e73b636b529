#include "eqtext/FilterTextParser.h"

#include "support/AsciiText.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace m7410 {

namespace {

// The requested curve is computed at the unit's sampling rate, so a filter must lie below half of
// it.
constexpr double HighestFrequency = 48000.0;
constexpr double DefaultShelfQ = 0.7071;

std::vector<std::string_view> tokens(std::string_view s) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t')
            ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

// A plain decimal number; from_chars ignores the locale. "inf" and "nan" are no values here.
std::optional<double> number(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// What follows "Filter N:" when the line is a filter line.
std::optional<std::string_view> filterBody(std::string_view line) {
    if (lower(line.substr(0, 6)) != "filter") return std::nullopt;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    for (char c : line.substr(6, colon - 6)) {
        if (c != ' ' && c != '\t' && (c < '0' || c > '9')) return std::nullopt;
    }
    return line.substr(colon + 1);
}

struct LineResult {
    std::optional<TextFilter> filter;
    std::string problem; // empty with no filter: skipped quietly
};

LineResult parseFilter(std::string_view body) {
    const std::vector<std::string_view> t = tokens(body);
    size_t i = 0;
    if (i < t.size()) {
        const std::string state = lower(t[i]);
        if (state == "off") return {std::nullopt, "the filter is switched off"};
        if (state == "on") ++i;
    }
    if (i >= t.size()) return {std::nullopt, "no filter type"};
    TextFilter f;
    f.typeText = std::string(t[i]);
    const std::string type = lower(t[i++]);
    if (type == "none") return {};
    if (type == "pk" || type == "peq") {
        f.kind = TextFilterKind::Peaking;
    } else if (type == "ls" || type == "lsc" || type == "hs" || type == "hsc") {
        f.kind = type[0] == 'l' ? TextFilterKind::LowShelf : TextFilterKind::HighShelf;
        if (i < t.size() && (lower(t[i]) == "6db" || lower(t[i]) == "12db")) {
            f.shelfSlopeDb = lower(t[i]) == "6db" ? 6 : 12;
            f.typeText.append(" ").append(t[i++]);
        }
    } else {
        return {std::nullopt, "filter type " + f.typeText +
                                  " has no counterpart on the unit (peaking and shelves only)"};
    }
    std::optional<double> freq, gain;
    while (i < t.size()) {
        const std::string key = lower(t[i++]);
        std::optional<double>* target = nullptr;
        const char* unit = "";
        if (key == "fc") {
            target = &freq;
            unit = "hz";
        } else if (key == "gain") {
            target = &gain;
            unit = "db";
        } else if (key == "q") {
            target = &f.q;
        } else {
            return {std::nullopt, std::string("unknown field \"").append(t[i - 1]).append("\"")};
        }
        if (i >= t.size()) return {std::nullopt, std::string("no value after ").append(t[i - 1])};
        const std::optional<double> v = number(t[i]);
        if (!v) return {std::nullopt, std::string("\"").append(t[i]).append("\" is not a number")};
        *target = v;
        ++i;
        if (i < t.size() && *unit != '\0' && lower(t[i]) == unit) ++i;
    }
    if (!freq) return {std::nullopt, "no frequency (Fc)"};
    if (!gain) return {std::nullopt, "no gain"};
    if (f.kind == TextFilterKind::Peaking && !f.q) return {std::nullopt, "no Q"};
    if (*freq <= 0.0 || *freq >= HighestFrequency)
        return {std::nullopt, "the frequency lies outside 0 .. 48000 Hz"};
    if (f.q && *f.q <= 0.0) return {std::nullopt, "the Q is not above 0"};
    if (!f.q) f.q = DefaultShelfQ;
    f.freq = *freq;
    f.gain = *gain;
    return {f, {}};
}

} // namespace

FilterText parseFilterText(std::string_view text) {
    FilterText out;
    bool rewHeader = false;
    bool firstLine = true;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        const std::string_view shown = trimmed(raw);
        const std::string_view line = trimmed(shown.substr(0, shown.find('#')));
        if (line.empty()) continue;
        if (firstLine && lower(line) == "filter settings file") rewHeader = true;
        firstLine = false;
        if (const std::optional<std::string_view> body = filterBody(line)) {
            rewHeader = false;
            LineResult r = parseFilter(*body);
            if (r.filter) {
                r.filter->line = lineNumber;
                out.filters.push_back(*r.filter);
            } else if (!r.problem.empty()) {
                out.skipped.push_back({lineNumber, std::string(shown), r.problem});
            }
            continue;
        }
        if (lower(line.substr(0, 7)) == "preamp:") {
            const std::vector<std::string_view> t = tokens(line.substr(7));
            const std::optional<double> v = t.empty() ? std::nullopt : number(t[0]);
            if (v && (t.size() == 1 || (t.size() == 2 && lower(t[1]) == "db")))
                out.preamp = v;
            else
                out.skipped.push_back({lineNumber, std::string(shown), "unreadable preamp"});
            continue;
        }
        if (!rewHeader) out.skipped.push_back({lineNumber, std::string(shown), "unknown line"});
    }
    return out;
}

} // namespace m7410
