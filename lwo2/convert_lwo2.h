#pragma once
#include <string>

#include "core/job.h"
#include "core/message_sink.h"
#include "core/output_file.h"
#include "lwo2/context.h"

namespace vx {

// Writes the model file of a LightWave 6+ object: header and axis line, one
// section per visible layer (in layer-number order when the job sorts
// layers), the layer groups, the root component with its bound radius, the
// summary sections and the trailer. Returns 0 when the file was written, 1
// (reported) when it could not be created or written.
ConversionStatus convertLwo2(const ConversionJob& job, Lwo2Context& context, const std::string& outputPath,
                             MessageSink& sink);

// The include groups, then the parent groups, in creation order.
void writeLayerGroups(const Lwo2Context& context, std::string& out);

}  // namespace vx
