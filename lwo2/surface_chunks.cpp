#include "lwo2/surface_chunks.h"

#include "core/byte_reader.h"

namespace vx {

namespace {

// The CLIP for an image index. A two-byte index matches on the low 16 bits
// of the CLIP's index; a four-byte one must match whole.
std::optional<Chunk> clipFor(const ChunkFile& file, std::uint32_t index) {
    if (index < 0xFF00) return findClip(file, index);
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("CLIP") || c.size < 4 || peekU4(file.data(c), 0) != index) return true;
        found = c;
        return false;
    });
    return found;
}

}  // namespace

std::optional<Chunk> findClip(const ChunkFile& file, std::uint32_t index) {
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("CLIP") || c.size < 4 || peekU2(file.data(c), 2) != (index & 0xFFFFu)) return true;
        found = c;
        return false;
    });
    return found;
}

std::string clipImagePath(const ChunkFile& file, std::uint32_t index) {
    std::optional<Chunk> clip = clipFor(file, index);
    if (!clip || clip->size <= 10) return {};
    // The first sub-chunk of the CLIP (a still image's path) starts at 10,
    // whatever its identifier.
    ByteReader r = file.reader(*clip);
    r.seek(10);
    return std::string(r.cstring());
}

}  // namespace vx
