#pragma once
// The chunks a LightWave 6+ surface refers to: its image clips and the
// texture blocks inside it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/chunk_file.h"

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
};

// Visits the BLOK sub-chunks of the area in order; `visit` returns false to
// stop. A sub-chunk claiming more than the area holds ends the walk.
template <typename Visit>
void forEachBlock(Bytes bytes, const SubChunkArea& area, Visit&& visit) {
    const std::size_t end = std::min(area.start + area.length, bytes.size());
    std::int64_t remaining = static_cast<std::int64_t>(area.length);
    for (std::size_t at = area.start; remaining > 0;) {
        std::optional<Chunk> here = subChunkAt(bytes, at, end);
        if (!here) return;
        if (here->id == makeId("BLOK") && !visit(*here)) return;
        remaining -= 6 + static_cast<std::int64_t>(here->size);
        at = here->end();
    }
}

}  // namespace vx
