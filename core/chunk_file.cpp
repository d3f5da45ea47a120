#include "core/chunk_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_checks.h"
#include "core/identifier.h"

namespace vx {

ByteBuffer::ByteBuffer(std::size_t size) : size_(size) {
    // calloc hands out fresh pages without writing them.
    data_.reset(static_cast<std::uint8_t*>(std::calloc(size > 0 ? size : 1, 1)));
    if (!data_) throw std::bad_alloc();
}

void ByteBuffer::Free::operator()(std::uint8_t* p) const { std::free(p); }

namespace {

// A large object read whole fills thousands of small pages, and each first
// touch costs a fault; huge pages take one fault per 2 MiB. Only a hint:
// where the system has none to give, small pages are used as before. Not for
// a load that skips the geometry, which would then pay for pages it never reads.
void adviseHugePages(ByteBuffer& data) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (data.size() < 2 * kHugePage) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data.data());
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + data.size()) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// Reads `length` bytes at `offset`; the count read (short at the end of the
// file), or none on a read error.
std::optional<std::size_t> readAt(int fd, std::uint8_t* to, std::size_t length, std::size_t offset) {
    std::size_t got = 0;
    while (got < length) {
        ssize_t n = ::pread(fd, to + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// The chunks a script-only run leaves unread: the bulk of every object.
bool isGeometry(ChunkId id) {
    return id == makeId("PNTS") || id == makeId("POLS") || id == makeId("PTAG") || id == makeId("VMAP") ||
           id == makeId("VMAD");
}

// Reads the chunk headers and every chunk's data but the geometry's, walking
// the top-level chunks exactly as the lookups do, so every chunk a lookup can
// reach has its header in place. Returns the length read up to (short when
// the file shrank meanwhile).
std::optional<std::size_t> readWithoutGeometry(int fd, ByteBuffer& data) {
    std::uint8_t* bytes = data.data();
    const std::size_t size = data.size();
    std::optional<std::size_t> got = readAt(fd, bytes, std::min<std::size_t>(size, 12), 0);
    if (!got || *got < 12) return got;
    if (loadU4(bytes + 8) != makeId("LWO2")) {
        got = readAt(fd, bytes + 12, size - 12, 12);
        return got ? std::optional<std::size_t>(12 + *got) : std::nullopt;
    }
    const std::size_t bound = size - 8;
    std::size_t at = kFirstChunk;
    while (at < bound && size - at >= 8) {
        got = readAt(fd, bytes + at, 8, at);
        if (!got) return std::nullopt;
        if (*got < 8) return at + *got;
        const std::size_t length = loadU4(bytes + at + 4);
        if (length > size - (at + 8)) break;  // the walks end here too
        if (!isGeometry(loadU4(bytes + at))) {
            got = readAt(fd, bytes + at + 8, length, at + 8);
            if (!got) return std::nullopt;
            if (*got < length) return at + 8 + *got;
        }
        at += 8 + length;
    }
    return size;
}

// A regular file, whole or without its geometry; none for anything else (a
// directory, a FIFO that might never deliver, a device) or when reading fails
// part way, with the reason in `reason`.
std::optional<ByteBuffer> readFile(const std::string& path, LoadScope scope, std::string& reason) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = MessageSink::systemReason(errno);
        return std::nullopt;
    }
    std::optional<ByteBuffer> result;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        reason = MessageSink::systemReason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        reason = notRegularReason(st.st_mode);
    } else {
        ByteBuffer data(static_cast<std::size_t>(st.st_size));
        if (scope == LoadScope::Whole) adviseHugePages(data);
        std::optional<std::size_t> got = scope == LoadScope::WithoutGeometry
                                              ? readWithoutGeometry(fd, data)
                                              : readAt(fd, data.data(), data.size(), 0);
        if (got) {
            data.truncate(*got);  // a file that shrank while read is taken as it was read
            result = std::move(data);
        } else {
            reason = MessageSink::systemReason(errno);
        }
    }
    ::close(fd);
    return result;
}

}  // namespace

bool ChunkFile::load(const std::string& path, MessageSink& sink, LoadScope scope) {
    std::string reason;
    std::optional<ByteBuffer> data = readFile(path, scope, reason);
    if (!data) {
        *this = ChunkFile{};
        sink.error("Can't open inputfile", path, std::string_view(reason));
        return false;
    }
    return accept(std::move(*data), path, sink);
}

bool ChunkFile::loadBytes(std::vector<std::uint8_t> data, const std::string& path, MessageSink& sink) {
    ByteBuffer copy(data.size());
    if (!data.empty()) std::memcpy(copy.data(), data.data(), data.size());
    return accept(std::move(copy), path, sink);
}

bool ChunkFile::accept(ByteBuffer data, const std::string& path, MessageSink& sink) {
    *this = ChunkFile{};
    std::size_t slash = path.find_last_of("/\\");
    fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    objectName = makeIdentifier(path);
    // Shorter than a FORM header with its type: there is nothing to walk.
    if (data.size() < 12 || std::memcmp(data.data(), "FORM", 4) != 0) {
        sink.error("Not a valid IFF file.", path);
        return false;
    }
    std::uint64_t formSize = loadU4(data.data() + 4);
    if (formSize > data.size() - 8) {
        sink.error("Bad EOF position, file may be corrupt.", path);
        return false;
    }
    bytes = std::move(data);
    contentLength = static_cast<std::int64_t>(bytes.size()) - 8;
    tags = findChunk(*this, makeId("TAGS"));
    loaded = true;
    return true;
}

std::optional<Chunk> chunkAt(const ChunkFile& file, std::size_t offset, std::size_t bound) {
    const std::size_t size = file.bytes.size();
    if (offset >= bound || offset > size || size - offset < 8) return std::nullopt;
    const std::uint8_t* p = file.bytes.data() + offset;
    Chunk c{loadU4(p), loadU4(p + 4), offset + 8};
    if (c.size > size - c.offset) return std::nullopt;
    return c;
}

std::optional<Chunk> findChunk(const ChunkFile& file, ChunkId id) {
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != id) return true;
        found = c;
        return false;
    });
    return found;
}

std::optional<Chunk> findClip(const ChunkFile& file, std::uint32_t index) {
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != makeId("CLIP") || c.size < 4 || peekU2(file.data(c), 2) != (index & 0xFFFFu)) return true;
        found = c;
        return false;
    });
    return found;
}

std::optional<Chunk> findSurfaceChunk(const ChunkFile& file, std::string_view name) {
    if (file.bytes.size() < 8) return std::nullopt;
    const std::size_t bound = loadU4(file.bytes.data() + 4);
    for (std::size_t at = kFirstChunk;;) {
        std::optional<Chunk> c = chunkAt(file, at, bound);
        if (!c) return std::nullopt;
        if (c->id == makeId("SURF")) {
            ByteReader r = file.reader(*c);
            std::size_t before = r.offset();
            std::string_view surfName = r.cstring();
            // The name must be terminated inside the chunk to match.
            bool terminated = r.offset() - before > surfName.size();
            if (terminated && surfName == name) return c;
        }
        at = c->end();
    }
}

std::optional<Chunk> subChunkAt(Bytes bytes, std::size_t offset, std::size_t end) {
    if (end > bytes.size() || offset > end || end - offset < 6) return std::nullopt;
    const std::uint8_t* p = bytes.data() + offset;
    Chunk c{loadU4(p), loadU2(p + 4), offset + 6};
    if (c.size > end - c.offset) return std::nullopt;
    return c;
}

std::optional<Chunk> findSubChunk(Bytes bytes, std::size_t start, std::size_t length, ChunkId id) {
    if (start > bytes.size()) return std::nullopt;
    const std::size_t end = start + std::min(length, bytes.size() - start);
    for (std::size_t at = start;;) {
        std::optional<Chunk> c = subChunkAt(bytes, at, end);
        if (!c) return std::nullopt;
        if (c->id == id) return c;
        at = c->end();
    }
}

std::optional<Chunk> findLwobSurfaceField(const ChunkFile& file, const Chunk& surf, ChunkId id) {
    Bytes all = file.all();
    std::size_t at = surf.offset;
    const std::size_t end = surf.end();
    while (at < end && all[at] != 0) ++at;  // the name
    while (at < end && all[at] == 0) ++at;  // its NUL and any pad bytes
    return findSubChunk(all, at, end - at, id);
}

std::optional<Chunk> nextBlock(Bytes bytes, const SubChunkArea& area, BlockCursor& cursor) {
    const std::size_t end = std::min(area.start + area.length, bytes.size());
    auto stepPast = [&]() {
        std::optional<Chunk> here = subChunkAt(bytes, cursor.position, end);
        if (!here) {
            cursor.remaining = 0;  // an overlong sub-chunk ends the walk
            return;
        }
        cursor.remaining -= 6 + static_cast<std::int64_t>(here->size);
        cursor.position = here->end();
    };
    if (cursor.remaining != 0) {
        stepPast();
    } else {
        cursor.remaining = static_cast<std::int64_t>(area.length);
        cursor.position = area.start;
    }
    while (true) {
        if (cursor.remaining <= 0) {
            cursor.remaining = 0;
            return std::nullopt;
        }
        std::optional<Chunk> here = subChunkAt(bytes, cursor.position, end);
        if (!here) {
            cursor.remaining = 0;
            return std::nullopt;
        }
        if (here->id == makeId("BLOK")) return here;
        stepPast();
    }
}

}  // namespace vx
