#pragma once
// Where a LightWave 5 object keeps its surfaces: SURF chunks found by name,
// and the fields inside one.

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/chunk_file.h"

namespace vx {

// The SURF chunks of an object by name, built once so that each surface is
// found without a walk of every chunk: for each name, the first SURF chunk
// that a walk up to the FORM's declared size meets, counting only names
// terminated inside their chunk. The names view the object's bytes.
using SurfaceChunks = std::unordered_map<std::string_view, Chunk>;
SurfaceChunks indexSurfaceChunks(const ChunkFile& file);
// The SURF chunk named exactly `name` (case and all).
std::optional<Chunk> findSurfaceChunk(const SurfaceChunks& index, std::string_view name);

// The surface names of the SRFS chunk in order: NUL-terminated strings,
// every NUL between them skipped. They view the object's bytes.
std::vector<std::string_view> lwobSurfaceNames(const ChunkFile& file);

// A sub-chunk of a SURF chunk: past the surface name and the NULs after it.
std::optional<Chunk> findLwobSurfaceField(const ChunkFile& file, const Chunk& surf, ChunkId id);

}  // namespace vx
