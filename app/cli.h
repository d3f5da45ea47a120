#pragma once
// The command-line converter: options to jobs, messages to standard error,
// and the lines --verbose asks for to standard output.

#include <iosfwd>
#include <string>
#include <vector>

// Each OBJECT given without --output is converted into defaultOutputPath(OBJECT).
#include "core/output_paths.h"

namespace vx {

// Runs the command line; returns the exit status: 0 when every run finished
// (warnings included), 1 when any run failed, 2 for a usage error.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vx
