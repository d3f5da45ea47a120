#pragma once
// The command-line converter: options to jobs, messages to standard error.

#include <iosfwd>
#include <string>
#include <vector>

namespace vx {

// Runs the command line; returns the exit status: 0 when every run finished
// (warnings included), 1 when any run failed, 2 for a usage error.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "ship.lwo" -> "ship.mdl"; a name without a final ".lwo" gets ".mdl" appended.
std::string defaultOutputPath(const std::string& objectPath);

}  // namespace vx
