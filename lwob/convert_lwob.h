#pragma once
#include <string>

#include "core/chunk_file.h"
#include "core/job.h"
#include "core/message_sink.h"

namespace vx {

// Writes the model file of a LightWave 5 object: one component holding, per
// surface, a Points block for its one-point polygons and a PolygonMesh block
// for the others.
ConversionStatus convertLwob(const ConversionJob& job, ChunkFile& file, const std::string& outputPath,
                             MessageSink& sink);

}  // namespace vx
