#include "lwob/surface_index.h"

#include "core/byte_reader.h"

namespace vx {

SurfaceChunks indexSurfaceChunks(const ChunkFile& file) {
    SurfaceChunks index;
    if (file.bytes.size() < 8) return index;
    const std::size_t bound = loadU4(file.bytes.data() + 4);
    for (std::size_t at = kFirstChunk;;) {
        std::optional<Chunk> c = chunkAt(file, at, bound);
        if (!c) return index;
        if (c->id == makeId("SURF")) {
            ByteReader r = file.reader(*c);
            std::size_t before = r.offset();
            std::string_view surfName = r.cstring();
            // The name must be terminated inside the chunk to match.
            bool terminated = r.offset() - before > surfName.size();
            if (terminated) index.try_emplace(surfName, *c);
        }
        at = c->end();
    }
}

std::optional<Chunk> findSurfaceChunk(const SurfaceChunks& index, std::string_view name) {
    auto it = index.find(name);
    if (it == index.end()) return std::nullopt;
    return it->second;
}

std::optional<Chunk> findLwobSurfaceField(const ChunkFile& file, const Chunk& surf, ChunkId id) {
    Bytes all = file.all();
    std::size_t at = surf.offset;
    const std::size_t end = surf.end();
    while (at < end && all[at] != 0) ++at;  // the name
    while (at < end && all[at] == 0) ++at;  // its NUL and any pad bytes
    return findSubChunk(all, at, end - at, id);
}

std::vector<std::string_view> lwobSurfaceNames(const ChunkFile& file) {
    const std::optional<Chunk> srfs = findChunk(file, makeId("SRFS"));
    std::vector<std::string_view> names;
    if (!srfs) return names;
    ByteReader r = file.reader(*srfs);
    while (!r.atEnd()) {
        if (file.bytes[srfs->offset + r.offset()] == 0) {
            r.skip(1);
            continue;
        }
        names.push_back(r.cstring());
    }
    return names;
}

}  // namespace vx
