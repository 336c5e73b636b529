// What --json prints: one compact object a line, and failures as {"error": {"kind", "message"}}.
#pragma once

#include <QJsonObject>

#include <ostream>
#include <string>

namespace m7410 {

// Kinds of failure a script can branch on; the exit status stays what it was.
namespace ErrorKind {
inline constexpr const char* Usage = "usage"; // the command line is wrong (exit 2)
inline constexpr const char* File = "file";   // a file could not be read, written or used
inline constexpr const char* Port = "port";   // no link could be opened
inline constexpr const char* Unit = "unit";   // the unit did not answer or the link was lost
} // namespace ErrorKind

void printJsonLine(std::ostream& out, const QJsonObject& object);
QJsonObject errorJson(const std::string& kind, const std::string& message);

} // namespace m7410
