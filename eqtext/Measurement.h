// Frequency responses (a measurement, or a target house curve) read from a measurement
// program's text export, .frd or CSV files. Plain C++: no Qt, no locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m7410 {

struct ResponsePoint {
    double hz = 0.0;
    double db = 0.0;
};

// Points sorted by frequency, each frequency once (duplicates averaged); or, when the text or
// file cannot be used, no points and a one-line reason ("line 12: ...").
struct Response {
    std::vector<ResponsePoint> points;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Far larger than any measurement export (16 MiB); a bigger file is not one.
inline constexpr long long LargestResponseFile = 16LL * 1024 * 1024;

// Lines whose first character other than a blank is '*', '#' or ';' are comments, as are blank
// lines; one header line of words may come before the first point (CSV, text exports; .frd has
// none); each point line holds frequency in Hz, level in dB and optionally phase (or any further
// numeric columns), separated by commas, semicolons, tabs or spaces. Numbers are plain decimals
// with a point, whatever the locale. Refused, naming the line: a field that is not a number
// (after the points started, or a second header line), "inf" or "nan" or a value beyond the
// range of a double, a frequency of 0 or below, a point line without a level; and a text
// without points.
Response parseResponseText(std::string_view text);

// The same from a file, which must be a plain file (not a folder, pipe or device) of at most
// LargestResponseFile bytes. Every reason starts with the path.
Response readResponseFile(const std::string& path);

// Level at hz, linear on a log-frequency axis between points and held flat beyond the ends;
// 0 dB for no points (a flat target).
double levelAt(const std::vector<ResponsePoint>& points, double hz);

} // namespace m7410
