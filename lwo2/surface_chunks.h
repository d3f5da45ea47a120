#pragma once
// The chunks a LightWave 6+ surface refers to: its image clips and the
// texture blocks inside it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/chunk_file.h"
#include "lwo2/surface_look.h"

namespace vx {

// The first CLIP chunk whose index has `index` in its low 16 bits.
std::optional<Chunk> findClip(const ChunkFile& file, std::uint32_t index);

// The image path that the CLIP with `index` names (a variable-length index as
// read: a four-byte one must match the CLIP's index whole); empty when there
// is no such CLIP.
std::string clipImagePath(const ChunkFile& file, std::uint32_t index);

// The sub-chunk area of a surface: from its first sub-chunk to the end of
// the SURF data.
struct SubChunkArea {
    std::size_t start = 0;
    std::size_t length = 0;
    SizeField field = SizeField::U2;
};

// Visits the BLOK sub-chunks of the area in order; `visit` returns false to
// stop. A sub-chunk claiming more than the area holds ends the walk.
template <typename Visit>
void forEachBlock(Bytes bytes, const SubChunkArea& area, Visit&& visit) {
    forEachSubChunk(bytes, area.start, area.length, area.field,
                    [&](const Chunk& c) { return c.id != makeId("BLOK") || visit(c); });
}

// The texture channel a CHAN sub-chunk's id names.
TextureChannel textureChannelOf(ChunkId id);

// The image texture of a texture block whose sub-chunks fill `block` (IMAG,
// VMAP, WRAP, AAST, PIXB, TAMP; each optional), on `channel`.
SurfaceTexture readImageBlock(const ChunkFile& file, const SubChunkArea& block, TextureChannel channel);

}  // namespace vx
