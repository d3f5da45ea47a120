#include "lwo2/surface_look_lwo2.h"

#include "core/byte_reader.h"
#include "lwo2/surface_chunks.h"
#include "lwo2/surface_look_nodes.h"

namespace vx {

namespace {

std::optional<float> floatField(const Lwo2Context& context, const Lwo2Surface& surface, const char (&id)[5]) {
    std::optional<Chunk> c = findSurfaceField(context, surface, makeId(id));
    if (!c) return std::nullopt;
    return ByteReader(context.file.data(*c)).f4();
}

std::optional<Chunk> blockField(Bytes bytes, const Chunk& blok, const char (&id)[5]) {
    return findSubChunk(bytes, blok.offset, blok.size, makeId(id));
}

// The channel named in the block's IMAP header, or none when the block has
// no IMAP (procedural, gradient and shader layers carry no image) or its
// header names no channel.
std::optional<TextureChannel> imageMapChannel(const ChunkFile& file, const Chunk& blok) {
    std::optional<Chunk> imap = blockField(file.all(), blok, "IMAP");
    if (!imap) return std::nullopt;
    ByteReader header = file.reader(*imap);
    header.evenString();  // the ordinal
    if (!header.ok() || header.atEnd()) return std::nullopt;
    std::optional<Chunk> chan =
        findSubChunk(file.all(), imap->offset + header.offset(), header.remaining(), makeId("CHAN"));
    if (!chan) return std::nullopt;
    return textureChannelOf(peekU4(file.data(*chan), 0));
}

std::optional<SurfaceTexture> readTexture(const ChunkFile& file, const Chunk& blok) {
    std::optional<TextureChannel> channel = imageMapChannel(file, blok);
    if (!channel) return std::nullopt;
    return readImageBlock(file, {blok.offset, blok.size, SizeField::U2}, *channel);
}

// LWO3 nests an image layer in a FORM BLOK and keeps the rest of the look in
// the node graph, which wins over any LWO2-style sub-chunk.
void readNodeLook(const ChunkFile& file, const Lwo2Surface& surface, SurfaceLook& look) {
    std::optional<FormRun> form = asForm(file.all(), surface.chunk);
    if (!form) return;
    readFormBlocks(file, *form, std::nullopt, look);
    NodeGraph graph;
    if (readNodeGraph(file.all(), *form, graph) == kNodeGraphRead) applyWiredMaterial(file, graph, look);
}

}  // namespace

SurfaceLook readSurfaceLook(const Lwo2Context& context, const Lwo2Surface& surface) {
    const ChunkFile& file = context.file;
    SurfaceLook look;
    look.name = surface.name;
    if (std::optional<Chunk> colr = findSurfaceField(context, surface, makeId("COLR"))) {
        ByteReader r(file.data(*colr));
        look.color = std::array<float, 3>{r.f4(), r.f4(), r.f4()};
    }
    look.diffuse = floatField(context, surface, "DIFF");
    look.luminosity = floatField(context, surface, "LUMI");
    look.specular = floatField(context, surface, "SPEC");
    look.glossiness = floatField(context, surface, "GLOS");
    look.transparency = floatField(context, surface, "TRAN");
    look.smoothingAngle = floatField(context, surface, "SMAN");
    if (std::optional<Chunk> side = findSurfaceField(context, surface, makeId("SIDE")))
        look.sidedness = peekU2(file.data(*side), 0);
    if (std::optional<std::string_view> comment = surfaceComment(context, surface)) readCommentKeywords(*comment, look);
    if (surface.fields == SizeField::U4) {
        readNodeLook(file, surface, look);
        return look;
    }
    forEachBlock(file.all(), surface.area(), [&](const Chunk& blok) {
        std::optional<SurfaceTexture> texture = readTexture(file, blok);
        if (texture) look.textures.push_back(std::move(*texture));
        return true;
    });
    return look;
}

std::optional<std::string_view> surfaceComment(const Lwo2Context& context, const Lwo2Surface& surface) {
    std::optional<Chunk> cmnt = findSurfaceField(context, surface, makeId("CMNT"));
    if (!cmnt) return std::nullopt;
    return context.file.reader(*cmnt).cstring();
}

}  // namespace vx
