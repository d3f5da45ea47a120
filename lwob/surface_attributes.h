#pragma once
#include <string>

#include "core/chunk_file.h"

namespace vx {

// The attribute lines (each opened by two tabs) of a LightWave 5 SURF chunk:
// face colour, smoothing, culling, translucency, specularity, shininess, emission.
std::string lwobSurfaceAttributes(const ChunkFile& file, const Chunk& surf);

// What a surface without a SURF chunk looks like.
inline constexpr const char* kLwobDefaultAttributes =
    "\t\tFaceColor grey78\n\t\tSmoothShading No\n\t\tBackfaceCullable Yes\n";

}  // namespace vx
