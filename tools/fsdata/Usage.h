// fsdata's help texts.
#pragma once

#include <string>

namespace fsdata {

// The help of `command`, or of the whole program for "".
std::string UsageText(const std::string& command);

// The one-line usage summary of `command` (or of every command for ""),
// written after a usage error.
std::string UsageSummary(const std::string& command);

// Writes "fsdata: MESSAGE" and the command's usage summary to standard
// error; returns the usage error's exit status.
int ReportUsageError(const std::string& message, const std::string& command);

}  // namespace fsdata
