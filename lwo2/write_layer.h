#pragma once
#include <string>
#include <string_view>

#include "core/job.h"
#include "core/output_file.h"
#include "lwo2/context.h"
#include "lwo2/layer_geometry.h"
#include "lwo2/model_summary.h"

namespace vx {

// Writes the section of one layer: for a visible layer its heading, an attach
// point component when asked for, and the layer's component with its
// geometry; for a hidden one a comment line only. The layer's group and
// Refer block go into the context and `mainBody`, its summary lines into
// `summary`.
void writeLayer(const ConversionJob& job, Lwo2Context& context, OutputFile& out, const LayerEntry& entry,
                std::string& mainBody, float& extent, GeometryWriter& geometry, ModelSummary& summary);

}  // namespace vx
