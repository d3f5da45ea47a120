#include "lwo2/surface_chunks.h"

#include "core/byte_reader.h"

namespace vx {

std::optional<Chunk> findClip(const ChunkFile& file, std::uint32_t index) {
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("CLIP") || c.size < 4 || peekU2(file.data(c), 2) != (index & 0xFFFFu)) return true;
        found = c;
        return false;
    });
    return found;
}

}  // namespace vx
