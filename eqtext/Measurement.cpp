// Reading and interpolating measured or target responses.
#include "eqtext/Measurement.h"

#include "support/PlainFileReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace m7410 {

namespace {

bool isSeparator(char c) {
    return c == ',' || c == ';' || c == '\t' || c == ' ' || c == '\r' || c == '\v' || c == '\f';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSeparator(line[i]))
            ++i;
        std::size_t end = i;
        while (end < line.size() && !isSeparator(line[end]))
            ++end;
        if (end > i) out.push_back(line.substr(i, end - i));
        i = end;
    }
    return out;
}

enum class Number { Ok, NotANumber, NotFinite };

// The whole field as a plain decimal; from_chars ignores the locale. It reads "inf" and "nan"
// too, and gives out_of_range beyond a double's range: both are no measured values.
Number numberOf(std::string_view field, double& value) {
    if (field.size() > 1 && field.front() == '+') field.remove_prefix(1);
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value,
                                   std::chars_format::general);
    if (r.ptr != field.data() + field.size()) return Number::NotANumber;
    if (r.ec == std::errc::result_out_of_range) return Number::NotFinite;
    if (r.ec != std::errc()) return Number::NotANumber;
    return std::isfinite(value) ? Number::Ok : Number::NotFinite;
}

// A field as the reason shows it, in quotes: bounded, without bytes that would break the line.
std::string shown(std::string_view field) {
    std::string out(1, '\'');
    for (char c : field.substr(0, 24)) {
        const auto u = static_cast<unsigned char>(c);
        out += u >= 0x20 && u < 0x7F ? c : '?';
    }
    if (field.size() > 24) out += "...";
    out += '\'';
    return out;
}

Response refuse(std::size_t line, const std::string& why) {
    return {{}, std::string("line ").append(std::to_string(line)).append(": ").append(why)};
}

} // namespace

Response parseResponseText(std::string_view text) {
    // A UTF-8 byte order mark, as spreadsheet programs write before a CSV header.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    // Sum and count per frequency, so duplicates average.
    std::map<double, std::pair<double, int>> byFreq;
    bool headerSeen = false;
    std::size_t lineNo = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty()) continue;
        if (line.front() == '*' || line.front() == '#' || line.front() == ';') continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (fields.empty()) continue; // separators only, as a spreadsheet's empty row
        double hz = 0.0;
        if (numberOf(fields[0], hz) == Number::NotANumber && byFreq.empty() && !headerSeen) {
            headerSeen = true; // the header line of words
            continue;
        }
        double db = 0.0;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            double v = 0.0;
            const Number n = numberOf(fields[k], v);
            if (n == Number::NotANumber)
                return refuse(lineNo, shown(fields[k]).append(" is not a number"));
            if (n == Number::NotFinite)
                return refuse(lineNo, shown(fields[k]).append(" is not a finite number"));
            if (k == 1) db = v;
        }
        if (fields.size() < 2) return refuse(lineNo, "a frequency without a level");
        if (hz <= 0.0)
            return refuse(lineNo, std::string("the frequency ")
                                          .append(shown(fields[0]))
                                          .append(" is not above 0 Hz"));
        auto& [sum, count] = byFreq[hz];
        sum += db;
        ++count;
    }
    if (byFreq.empty())
        return {{}, "no points (lines of frequency and level) in " + std::to_string(lineNo) +
                        " lines"};
    Response r;
    r.points.reserve(byFreq.size());
    for (const auto& [hz, acc] : byFreq)
        r.points.push_back({hz, acc.first / acc.second});
    return r;
}

Response readResponseFile(const std::string& path) {
    const PlainRead file = readPlainFile(path, LargestResponseFile);
    if (file.status == PlainRead::Status::Missing) return {{}, path + ": no such file"};
    // A pipe or a device would be waited on (or read forever), not read.
    if (file.notRegular) return {{}, path + ": not a plain file"};
    if (file.tooLarge) return {{}, path + ": larger than 16 MiB, so not a measurement"};
    if (file.status != PlainRead::Status::Read) return {{}, path + ": " + file.reason};
    Response r = parseResponseText(file.bytes);
    if (!r.ok()) r.error = path + ": " + r.error;
    return r;
}

double levelAt(const std::vector<ResponsePoint>& points, double hz) {
    if (points.empty()) return 0.0;
    if (hz <= points.front().hz) return points.front().db;
    if (hz >= points.back().hz) return points.back().db;
    const auto upper = std::lower_bound(points.begin(), points.end(), hz,
                                        [](const ResponsePoint& p, double f) { return p.hz < f; });
    const ResponsePoint& b = *upper;
    const ResponsePoint& a = *(upper - 1);
    const double t = std::log(hz / a.hz) / std::log(b.hz / a.hz);
    return a.db + t * (b.db - a.db);
}

} // namespace m7410
