#pragma once
// The command line's --preview: the sheet of the model a run has written
// (or, with --no-convert, finds), at the pose its --pose options give.

#include <string>
#include <vector>

#include "core/message_sink.h"

namespace vx {

// `poses` holds the --pose values as given, "Articulation.Transformation=VALUE",
// each already known to have that shape. Returns 0, 1 after a failure
// reported through the sink, or 2 with `problem` set when a pose names no
// line of the model or a value outside its line's range (a usage error).
// Without poses the sheet also shows each articulation at its minimum and
// maximum.
int previewForCommandLine(const std::string& mdlPath, const std::string& pngPath, const std::vector<std::string>& poses,
                          MessageSink& sink, std::string& problem);

}  // namespace vx
