#include "lwo2/context.h"

#include <unordered_map>

#include "core/nested_form.h"

namespace vx {

Lwo2Context::Lwo2Context(ChunkFile& object) : file(object) {}

bool Lwo2Surface::usesTag(int tag) const {
    if (tag == tagIndices[0] || tag == tagIndices[1]) return true;
    for (std::size_t i = 2; i < kTagSlots && tagIndices[i] >= 0; ++i) {
        if (tag == tagIndices[i]) return true;
    }
    return false;
}

SubChunkArea Lwo2Surface::area() const {
    if (firstSubChunk >= chunk.size) return {chunk.end(), 0, fields};
    return {chunk.offset + firstSubChunk, chunk.size - firstSubChunk, fields};
}

const LayerIndex& layerIndex(Lwo2Context& context) {
    if (!context.layers) context.layers = indexLayers(context.file);
    return *context.layers;
}

namespace {

std::string_view surfaceName(const ChunkFile& file, const Chunk& surf, std::size_t& firstSubChunk) {
    ByteReader r = file.reader(surf);
    std::string_view name = r.evenString();
    r.evenString();  // the source surface
    firstSubChunk = r.ok() ? r.offset() : surf.size;
    return name;
}

// An LWO3 surface names itself in its first child, a chunk of four spaces;
// its other children follow with four-byte sizes.
std::optional<Lwo2Surface> lwo3Surface(const ChunkFile& file, const Chunk& c) {
    std::optional<FormRun> form = asForm(file.all(), c);
    if (!form || form->type != makeId("SURF")) return std::nullopt;
    Lwo2Surface s;
    s.chunk = c;
    s.fields = SizeField::U4;
    s.firstSubChunk = 4;
    if (std::optional<Chunk> names = subChunkAt(file.all(), form->start, form->start + form->length, SizeField::U4);
        names && names->id == kBlankId) {
        s.name = file.reader(*names).evenString();
    }
    return s;
}

std::optional<Lwo2Surface> surfaceOf(const ChunkFile& file, const Chunk& c) {
    if (file.formType() == makeId("LWO3")) return lwo3Surface(file, c);
    if (c.id != makeId("SURF")) return std::nullopt;
    Lwo2Surface s;
    s.chunk = c;
    s.name = surfaceName(file, c, s.firstSubChunk);
    return s;
}

}  // namespace

void buildSurfaceList(Lwo2Context& context) {
    if (context.surfacesBuilt) return;
    context.surfacesBuilt = true;
    const ChunkFile& file = context.file;
    forEachChunk(file, [&](const Chunk& c) {
        std::optional<Lwo2Surface> s = surfaceOf(file, c);
        if (!s) return true;
        s->tagIndices.fill(-2);
        context.surfaces.push_back(*s);
        return true;
    });
    if (!file.tags || context.surfaces.empty()) return;
    // One walk over TAGS: an empty string (a lone NUL) takes no index.
    std::unordered_map<std::string_view, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < context.surfaces.size(); ++i) byName[context.surfaces[i].name].push_back(i);
    std::vector<std::size_t> filled(context.surfaces.size(), 0);
    Bytes tags = file.data(*file.tags);
    ByteReader r(tags);
    int index = 0;
    while (!r.atEnd()) {
        if (tags[r.offset()] == 0) {
            r.skip(1);
            continue;
        }
        auto named = byName.find(r.cstring());
        if (named != byName.end()) {
            for (std::size_t i : named->second) {
                if (filled[i] < Lwo2Surface::kTagSlots) context.surfaces[i].tagIndices[filled[i]++] = index;
            }
        }
        ++index;
    }
}

std::optional<Chunk> findSurfaceField(const Lwo2Context& context, const Lwo2Surface& surface, ChunkId id) {
    const SubChunkArea a = surface.area();
    return findSubChunk(context.file.all(), a.start, a.length, id, a.field);
}

}  // namespace vx
