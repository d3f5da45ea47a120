#include "lwo2/surface_chunks.h"

#include "core/byte_reader.h"
#include "core/nested_form.h"

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

// An LWO3 clip is a FORM CLIP: a chunk of four spaces with its four-byte
// index, then a FORM (STIL for a still image) whose own chunk of four spaces
// holds the path. Indices match as in LWO2.
std::string lwo3ClipPath(const ChunkFile& file, std::uint32_t index) {
    const Bytes bytes = file.all();
    std::string path;
    forEachTopLevelForm(file, makeId("CLIP"), [&](const FormRun& clip) {
        std::optional<Chunk> number = subChunkAt(bytes, clip.start, clip.start + clip.length, SizeField::U4);
        if (!number || number->id != kBlankId || number->size < 4) return true;
        const std::uint32_t stored = peekU4(file.data(*number), 0);
        if (index < 0xFF00 ? (stored & 0xFFFFu) != index : stored != index) return true;
        const std::size_t next = nextSubChunkOffset(*number, SizeField::U4);
        std::optional<Chunk> image = subChunkAt(bytes, next, clip.start + clip.length, SizeField::U4);
        std::optional<FormRun> still = image ? asForm(bytes, *image) : std::nullopt;
        if (!still) return false;
        if (std::optional<Chunk> name = findChild(bytes, *still, kBlankId)) path = file.reader(*name).cstring();
        return false;
    });
    return path;
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
    if (file.formType() == makeId("LWO3")) return lwo3ClipPath(file, index);
    std::optional<Chunk> clip = clipFor(file, index);
    if (!clip || clip->size <= 10) return {};
    // The first sub-chunk of the CLIP (a still image's path) starts at 10,
    // whatever its identifier.
    ByteReader r = file.reader(*clip);
    r.seek(10);
    return std::string(r.cstring());
}

TextureChannel textureChannelOf(ChunkId id) {
    if (id == makeId("COLR")) return TextureChannel::Color;
    if (id == makeId("TRAN")) return TextureChannel::Transparency;
    if (id == makeId("BUMP")) return TextureChannel::Bump;
    return TextureChannel::Other;
}

SurfaceTexture readImageBlock(const ChunkFile& file, const SubChunkArea& block, TextureChannel channel) {
    const Bytes bytes = file.all();
    auto field = [&](const char(&id)[5]) { return findSubChunk(bytes, block.start, block.length, makeId(id), block.field); };
    SurfaceTexture t;
    t.channel = channel;
    if (std::optional<Chunk> imag = field("IMAG")) {
        const std::uint32_t index = ByteReader(file.data(*imag)).vx();
        t.image = TextureImage{index, clipImagePath(file, index)};
    }
    if (std::optional<Chunk> vmap = field("VMAP")) t.uvMap = file.reader(*vmap).cstring();
    if (std::optional<Chunk> wrap = field("WRAP")) {
        ByteReader r = file.reader(*wrap);
        t.wrap = TextureWrap{};
        t.wrap->width = r.u2();
        t.wrap->height = r.u2();
    }
    // AAST's first two bytes are its flags, whatever follows them.
    if (std::optional<Chunk> aast = field("AAST")) t.antialiasing = peekU2(file.data(*aast), 0) != 0;
    if (std::optional<Chunk> pixb = field("PIXB")) t.pixelBlending = peekU2(file.data(*pixb), 0) != 0;
    if (std::optional<Chunk> tamp = field("TAMP")) t.amplitude = ByteReader(file.data(*tamp)).f4();
    return t;
}

}  // namespace vx
