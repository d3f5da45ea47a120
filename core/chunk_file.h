#pragma once
// A LightWave object loaded whole. Lookups walk the raw IFF chunks and return
// views (positions into the loaded bytes); nothing is copied out. A chunk whose
// declared size runs past the end of its area ends the walk, so no view ever
// reaches outside the bytes, whatever sizes the file claims.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"
#include "core/message_sink.h"

namespace vx {

// Four-character chunk identifier as a big-endian number ("PNTS").
using ChunkId = std::uint32_t;
constexpr ChunkId makeId(const char (&s)[5]) {
    return (ChunkId(std::uint8_t(s[0])) << 24) | (ChunkId(std::uint8_t(s[1])) << 16) |
           (ChunkId(std::uint8_t(s[2])) << 8) | ChunkId(std::uint8_t(s[3]));
}

// A view of one chunk or sub-chunk: its identifier, its declared size and
// where its data lies in the loaded bytes. `offset + size` never passes the
// end of the bytes.
struct Chunk {
    ChunkId id = 0;
    std::uint32_t size = 0;
    std::size_t offset = 0;  // of the data, past the header
    std::size_t end() const { return offset + size; }
    std::size_t header(std::size_t headerSize) const { return offset - headerSize; }
};

// The bytes of a loaded object. A fresh large allocation arrives as untouched
// zero pages, so the buffer is allocated zeroed rather than filled: the file is
// read over it once, and what a load leaves unread costs nothing.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t size);  // zeros; throws std::bad_alloc
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    std::uint8_t operator[](std::size_t i) const { return data_[i]; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + size_; }
    // Forgets the bytes past `size` (a file that shrank while it was read).
    void truncate(std::size_t size) { size_ = size < size_ ? size : size_; }

private:
    struct Free {
        void operator()(std::uint8_t* p) const;
    };
    std::unique_ptr<std::uint8_t[], Free> data_;
    std::size_t size_ = 0;
};

// How much of the object a run reads. A run that only writes a script needs
// the chunk headers and the layers, never the geometry: points, polygons,
// their tags and vertex maps stay unread (zeros) in that case.
enum class LoadScope { Whole, WithoutGeometry };

struct ChunkFile {
    ByteBuffer bytes;                 // mutable: points are decoded in place
    std::int64_t contentLength = 0;   // file length - 8: the bound of top-level walks
    bool loaded = false;
    std::optional<Chunk> tags;        // the first TAGS chunk
    std::string objectName;           // makeIdentifier of the object's path
    std::string fileName;             // the object's path without its directory

    // Reads the whole file. On failure reports "Can't open inputfile",
    // "Not a valid IFF file." or "Bad EOF position, file may be corrupt."
    // and leaves loaded false. The header is judged against the file's length
    // before anything is allocated, so a file that cannot be an object (such
    // as one longer than a 32-bit form size can describe) is refused at once,
    // however long it is.
    // A LightWave 5 object is always read whole, since it is always converted.
    bool load(const std::string& path, MessageSink& sink, LoadScope scope = LoadScope::Whole);
    // Same checks on bytes already in memory (the file name is given apart).
    bool loadBytes(std::vector<std::uint8_t> data, const std::string& path, MessageSink& sink);

    // The load checks on the bytes read.
    bool accept(ByteBuffer data, const std::string& path, MessageSink& sink);

    Bytes all() const { return {bytes.data(), bytes.size()}; }
    Bytes data(const Chunk& c) const { return {bytes.data() + c.offset, c.size}; }
    std::span<std::uint8_t> mutableData(const Chunk& c) { return {bytes.data() + c.offset, c.size}; }
    ByteReader reader(const Chunk& c) const { return ByteReader(data(c)); }
    ChunkId formType() const { return bytes.size() >= 12 ? loadU4(bytes.data() + 8) : 0; }
};

// Top-level chunk starting at `offset`, provided its header begins before
// `bound` and its data fits inside the bytes.
std::optional<Chunk> chunkAt(const ChunkFile& file, std::size_t offset, std::size_t bound);
// Offset of the chunk after `c`.
inline std::size_t nextChunkOffset(const Chunk& c) { return c.end(); }
// The walk bound of top-level walks (file length - 8, never negative).
inline std::size_t topLevelBound(const ChunkFile& file) {
    return file.contentLength > 0 ? static_cast<std::size_t>(file.contentLength) : 0;
}
constexpr std::size_t kFirstChunk = 12;

// Visits the top-level chunks in file order; `visit` returns false to stop.
template <typename Visit>
void forEachChunk(const ChunkFile& file, Visit&& visit) {
    std::size_t bound = topLevelBound(file);
    for (std::size_t at = kFirstChunk;;) {
        std::optional<Chunk> c = chunkAt(file, at, bound);
        if (!c || !visit(*c)) return;
        at = c->end();
    }
}

std::optional<Chunk> findChunk(const ChunkFile& file, ChunkId id);

// The width of a sub-chunk's size field. LWOB and LWO2 sub-chunks (inside
// SURF, BLOK and the like) have two bytes, and the next one begins right
// after the declared data. LWO3 gives every chunk at every depth four bytes
// and keeps the IFF pad byte after odd data.
enum class SizeField : std::uint8_t { U2 = 2, U4 = 4 };

// Sub-chunk at `offset` of the bytes (4-byte id, size, data), if its header
// and data fit before `end`.
std::optional<Chunk> subChunkAt(Bytes bytes, std::size_t offset, std::size_t end, SizeField field = SizeField::U2);
// Offset of the sub-chunk after `c`.
inline std::size_t nextSubChunkOffset(const Chunk& c, SizeField field) {
    return field == SizeField::U4 ? c.end() + (c.size & 1) : c.end();
}
// Visits the sub-chunks of the run [start, start + length) of the bytes in
// order; `visit` returns false to stop. One that claims more than the run
// holds ends the walk.
template <typename Visit>
void forEachSubChunk(Bytes bytes, std::size_t start, std::size_t length, SizeField field, Visit&& visit) {
    if (start > bytes.size()) return;
    const std::size_t end = start + std::min(length, bytes.size() - start);
    for (std::size_t at = start;;) {
        std::optional<Chunk> c = subChunkAt(bytes, at, end, field);
        if (!c || !visit(*c)) return;
        at = nextSubChunkOffset(*c, field);
    }
}
// The first sub-chunk with `id` in the run [start, start + length) of the bytes.
std::optional<Chunk> findSubChunk(Bytes bytes, std::size_t start, std::size_t length, ChunkId id,
                                  SizeField field = SizeField::U2);
}  // namespace vx
